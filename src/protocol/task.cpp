#include "protocol/task.h"

#include <QDebug>

namespace FCProtocol {

Task::Task(int type, bool urgent)
    : QObject(nullptr)
    , type(type)
    , urgent(urgent)
    , headLength(0)
    , status(Success)
    , sent(false)
    , txStream(&txData, QIODevice::ReadWrite)
    , rxStream(&rxData, QIODevice::ReadWrite)
{
    static const int registered = qRegisterMetaType<FCProtocol::Task*>("FCProtocol::Task*");
    Q_UNUSED(registered);

    for (QDataStream* stream : {&txStream, &rxStream}) {
        stream->setByteOrder(QDataStream::LittleEndian);
        stream->setFloatingPointPrecision(QDataStream::SinglePrecision);
    }

    FrameId id{};
    if (frameIdOf(type, &id))
        txStream << qint8(id.classByte) << qint8(id.idByte);
    else
        qDebug() << "invalid frame id!";

    headLength = txData.size();
}

} // namespace FCProtocol
