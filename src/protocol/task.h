#pragma once

#include "protocol/frameids.h"

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QMetaType>
#include <QObject>

namespace FCProtocol {

// One request/reply transaction with the flight controller. Issuers write the payload
// through txStream after the frame id; the transport finishes and sends the frame and
// leaves the reply in rxData and the outcome in status; consumers read rxStream from
// headLength on.
class Task : public QObject
{
    Q_OBJECT

public:
    // Status codes left by the transport.
    enum Status {
        Success = 0,
        LinkFailed = -1,    // open failed, a HID write or read failed, or a short write (see sent)
        NoReply = -2,       // empty request, or nothing received within the reply wait
        WrongCrc = -3,      // reply CRC wrong
        WrongLength = -4,   // reply length not a positive multiple of 64
        WrongEcho = -5,     // reply does not echo the request's head
    };

    // Writes the frame id of `type` into txData; a type outside 0..19 logs
    // "invalid frame id!" and leaves the request empty (headLength 0).
    Task(int type, bool urgent);

    int type;
    bool urgent;
    int headLength;
    int status;
    // The whole request left the computer: every report of it was written. False until then,
    // and for good when the transport gave up before the last report (no device, the
    // controller held by another program, an empty request, a write that failed or was short):
    // the controller cannot have acted on such a request, so sending it again at once is safe.
    // True with a failed status means the controller may have acted on it.
    bool sent;
    QByteArray txData;
    QByteArray rxData;
    QDataStream txStream;
    QDataStream rxStream;

signals:
    void TaskDone(FCProtocol::Task* task);
};

} // namespace FCProtocol

Q_DECLARE_METATYPE(FCProtocol::Task*)
