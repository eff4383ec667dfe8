#include "protocol/requests.h"

#include "protocol/task.h"

namespace FCProtocol {
namespace Request {

namespace {

constexpr qint8 kFrameRead = 0;
constexpr qint8 kFrameWrite = 1;

// A task built as a read, then moved to the head of the queue: writes and commands must not
// wait behind the polls.
Task* urgentTask(int type)
{
    auto* task = new Task(type, false);
    task->urgent = true;
    return task;
}

Task* command(int type, quint8 marker)
{
    Task* task = urgentTask(type);
    task->txStream << qint8(marker);
    return task;
}

} // namespace

Task* statusRead() { return new Task(STATUS_RD, false); }
Task* paraRead() { return new Task(PARA_RD, false); }
Task* rcRead() { return new Task(RC_RD, false); }
Task* infoRead() { return new Task(INFO_RD, false); }
Task* firmwareInfoRead() { return new Task(FW_INFO_RD, false); }
Task* scopeNamesRead() { return new Task(SCOPE_NAME_RD, false); }
Task* scopeDataRead() { return new Task(SCOPE_DATA_RD, false); }

Task* frameRead()
{
    auto* task = new Task(FRAME_RW, false);
    task->txStream << kFrameRead;
    return task;
}

Task* frameWrite(qint8 airframe, qint8 mounting)
{
    Task* task = urgentTask(FRAME_RW);
    task->txStream << kFrameWrite << airframe << mounting;
    return task;
}

Task* paraWrite(const DS_PARA& record)
{
    Task* task = urgentTask(PARA_WR);
    record.write(task->txStream);
    return task;
}

Task* rcWrite(const ReplyDecode::RcWriteRecord& rc)
{
    Task* task = urgentTask(RC_WR);
    task->txStream << rc.channelWord;
    for (qint8 mode : rc.positionModes)
        task->txStream << mode;
    task->txStream << rc.modeButton;
    return task;
}

Task* rcCalibration(quint8 marker) { return command(RC_CALI, marker); }
Task* horizonCalibration() { return command(HORIZON_CALI, kCommandStart); }
Task* motorTest() { return command(MOTOR_TEST, kCommandStart); }
Task* store() { return command(STORE, kCommandStart); }
Task* defaultRestore() { return command(DEFAULT_RESTORE, kCommandStart); }

Task* bootJump(quint8 marker)
{
    Task* task = urgentTask(BOOT_JUMP);
    task->txStream << qint32(marker);
    return task;
}

Task* blockProgram(qint32 offset, const QByteArray& block)
{
    Task* task = urgentTask(BLOCK_PROG);
    task->txStream << offset;
    task->txData.append(block);
    return task;
}

Task* verify() { return urgentTask(VERIFY); }

qint32 blockOffsetOf(const Task* task)
{
    const QByteArray& tx = task->txData;
    const int at = task->headLength;
    if (tx.size() < at + 4)
        return -1;
    return qint32(quint32(quint8(tx[at])) | quint32(quint8(tx[at + 1])) << 8
                  | quint32(quint8(tx[at + 2])) << 16 | quint32(quint8(tx[at + 3])) << 24);
}

bool isFrameWrite(const Task* task)
{
    return task->type == FRAME_RW && task->txData.size() > task->headLength
        && task->txData.at(task->headLength) == kFrameWrite;
}

} // namespace Request
} // namespace FCProtocol
