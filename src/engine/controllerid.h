#pragma once

#include <QString>
#include <QtGlobal>

// One controller as the setup history knows it: its model (from the board word) and, where the
// board reports one, its USB serial number. A hidraw node is only where it is plugged in today.
struct ControllerId {
    qint32 boardWord = 0; // the model is its board id; the firmware version does not count
    QString serial;       // empty: the board reports none, and the model alone keys it

    bool hasSerial() const { return !serial.isEmpty(); }
};
