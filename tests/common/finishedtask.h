#pragma once

#include "protocol/frame.h"
#include "protocol/task.h"

#include <QDataStream>
#include <QSignalSpy>

#include <memory>
#include <vector>

// Gives `task` the reply a controller sends, as the transport leaves it: the echoed frame id,
// `payload`, zero padding and the CRC-16 (whole 64-byte reports), and `status`, its request sent.
// A failed task keeps the reply too: whoever reads it must look at the status first.
inline FCProtocol::Task* finish(FCProtocol::Task* task, const QByteArray& payload,
                                int status = FCProtocol::Task::Success)
{
    task->rxData = FCProtocol::Frame::finished(task->txData.left(task->headLength) + payload);
    task->status = status;
    task->sent = true;
    return task;
}

// A new task of `type`, finished with that reply.
inline std::unique_ptr<FCProtocol::Task> finishedTask(int type, const QByteArray& payload,
                                                      int status = FCProtocol::Task::Success)
{
    std::unique_ptr<FCProtocol::Task> task(new FCProtocol::Task(type, false));
    finish(task.get(), payload, status);
    return task;
}

// The values in wire order: little-endian, floats in single precision.
template <typename... T>
QByteArray littleEndian(T... values)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    (out << ... << values);
    return bytes;
}

// The tasks a page or the engine emitted, taken over from the spy (the signal hands ownership).
inline std::vector<std::unique_ptr<FCProtocol::Task>> takeTasks(QSignalSpy& spy)
{
    std::vector<std::unique_ptr<FCProtocol::Task>> tasks;
    for (const QList<QVariant>& args : spy)
        tasks.emplace_back(args.at(0).value<FCProtocol::Task*>());
    spy.clear();
    return tasks;
}
