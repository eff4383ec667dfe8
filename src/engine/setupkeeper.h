#pragma once

#include "engine/controllerid.h"
#include "engine/setuprecord.h"
#include "protocol/dsinforrd.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class SetupHistory;
class SetupReader;

namespace FCProtocol {
class Task;
}

// Takes the automatic snapshots of the connected controller's setup into the history: after
// each connect when the setup differs from the newest snapshot, and just before a command that
// changes it (a fresh reading of the values the controller holds then). Emits its reads and
// takes every finished task back; the owner sends them.
class SetupKeeper : public QObject
{
    Q_OBJECT

public:
    explicit SetupKeeper(SetupHistory* history, QObject* parent = nullptr);
    ~SetupKeeper() override;

    SetupHistory* history() const { return store; }
    // A supported controller has answered since the program started.
    bool hasBoard() const { return boardKnown; }
    // The controller connected last: its board word and USB serial number.
    ControllerId controller() const { return board; }

    // A new connection (the first telemetry of a connected controller, reached through the
    // device with USB serial number `serial`, empty when it reports none): remembers the
    // controller, and in the flight firmware, outside an update, keeps its setup as
    // "connected" unless that equals its newest snapshot.
    void linkUp(const FCProtocol::DS_INFO_RD& info, const QString& serial, bool updating);

    // Reads the setup, keeps it under `reason`, then calls `then`. The command behind it is
    // never lost: when the reading fails, or no controller in its flight firmware is known,
    // a log line says that no snapshot was taken and `then` runs all the same. Nothing runs
    // once `context` is gone.
    void snapshotThen(const QString& reason, QObject* context, std::function<void()> then);
    // Keeps a setup just read by someone else; false when it could not be written.
    bool keep(const QString& reason, const SetupRecord& setup);

    // A task of one of the keeper's readings (its result is no one else's business).
    bool owns(const FCProtocol::Task* task) const;

public slots:
    void taskDone(FCProtocol::Task* task);

signals:
    void sendTask(FCProtocol::Task* task);

private:
    struct Job;
    void startJob(const QString& reason, bool onlyIfChanged, QObject* context, std::function<void()> then);
    void endJob(Job* job, const SetupRecord* setup, const QString& why);

    SetupHistory* store;
    QList<std::shared_ptr<Job>> jobs;
    bool boardKnown = false;
    ControllerId board;
    bool flightFirmware = false;
};
