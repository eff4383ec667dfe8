#include "engine/setupreader.h"

#include "protocol/replydecode.h"
#include "protocol/requests.h"
#include "protocol/task.h"

namespace {

QString typeName(int type)
{
    switch (type) {
    case FCProtocol::PARA_RD: return QStringLiteral("PARA_RD");
    case FCProtocol::RC_RD: return QStringLiteral("RC_RD");
    case FCProtocol::FRAME_RW: return QStringLiteral("FRAME_RW");
    default: return QString::number(type);
    }
}

} // namespace

SetupReader::SetupReader(QObject* parent)
    : QObject(parent)
{
}

void SetupReader::start()
{
    pending.clear();
    read = SetupRecord();
    const QList<FCProtocol::Task*> tasks{FCProtocol::Request::paraRead(), FCProtocol::Request::rcRead(),
                                         FCProtocol::Request::frameRead()};
    for (FCProtocol::Task* task : tasks) {
        task->urgent = true;
        pending.insert(task);
        const int type = task->type;
        connect(task, &QObject::destroyed, this, [this, type](QObject* gone) {
            if (pending.remove(gone))
                fail(typeName(type) + QStringLiteral(": dropped from the queue"));
        });
    }
    for (FCProtocol::Task* task : tasks)
        emit sendTask(task);
}

bool SetupReader::owns(const FCProtocol::Task* task) const
{
    return pending.contains(task);
}

void SetupReader::taskDone(FCProtocol::Task* task)
{
    if (!pending.remove(task))
        return;
    if (task->status != FCProtocol::Task::Success) {
        fail(typeName(task->type) + QStringLiteral(": status %1").arg(task->status));
        return;
    }
    const QByteArray payload = task->rxData.mid(task->headLength);
    bool decoded = false;
    switch (task->type) {
    case FCProtocol::PARA_RD: {
        FCProtocol::DS_PARA para;
        decoded = FCProtocol::DS_PARA::decode(payload, &para);
        read.parameters = para;
        break;
    }
    case FCProtocol::RC_RD: {
        FCProtocol::ReplyDecode::RcRecord rc;
        decoded = FCProtocol::ReplyDecode::decodeRcRead(payload, &rc);
        read.radio = RadioSetup::fromRead(rc);
        break;
    }
    case FCProtocol::FRAME_RW: {
        FCProtocol::ReplyDecode::FrameRecord frame;
        decoded = FCProtocol::ReplyDecode::decodeFrame(payload, &frame);
        read.airframe = AirframeSetup{frame.airframe, frame.mounting};
        break;
    }
    default:
        break;
    }
    if (!decoded) {
        fail(typeName(task->type) + QStringLiteral(": reply too short"));
        return;
    }
    if (pending.isEmpty())
        emit finished(read);
}

void SetupReader::fail(const QString& why)
{
    pending.clear();
    emit failed(why);
}
