#pragma once

#include <QMetaType>
#include <QtGlobal>

namespace FCProtocol {

// The telemetry record of the info read (INFO_RD), 18 payload bytes in wire order.
struct DS_INFO_RD {
    qint8 mode = 0;       // 0 flight firmware, 1 bootloader, other: unknown mode
    quint8 errorCode = 0; // self-test result, 0 = all well
    qint32 boardWord = 0; // bits 16..23 board id, bits 0..15 firmware version
    qint32 extra1 = 0;
    qint32 extra2 = 0;
    qint32 extra3 = 0;
};

} // namespace FCProtocol

Q_DECLARE_METATYPE(FCProtocol::DS_INFO_RD)
