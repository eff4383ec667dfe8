#pragma once

#include "engine/linksupervisor.h"
#include "protocol/dsinforrd.h"
#include "usb/trcontroller.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class CliOutput;
class QEventLoop;

namespace FCProtocol {
class Task;
}

// One command's link to the controller: the task run controller with its transport, the
// telemetry read that finds a supported controller, and the time limit after which a silent
// link counts as lost. A command sends tasks and takes every finished one from taskFinished;
// the session owns them and deletes them after.
class CliSession : public QObject
{
    Q_OBJECT

public:
    CliSession(int timeoutMs, CliOutput* output, QObject* parent = nullptr);
    ~CliSession() override;

    int timeoutMs() const { return limitMs; }

    // Reads the telemetry every 500 ms until a supported controller answers: ExitCode::Done with
    // its record; NoController when none did within the time limit, InUse at once when another
    // ORVANTE program holds the controller, each with its message written.
    int findController(FCProtocol::DS_INFO_RD* info);

    // Runs until finish(), or until the link is lost: no task succeeded for the time limit
    // (NoController), or another ORVANTE program took the controller (InUse); a lost link's
    // message is written. Returns the exit code; once the link is lost, at once.
    int exec();
    void finish(int code);

    TRController* controller() { return &trController; }

public slots:
    void send(FCProtocol::Task* task);

signals:
    void taskFinished(FCProtocol::Task* task);

private:
    void taskDone(FCProtocol::Task* task);
    void watch();
    void lose(int code, const QString& message);

    int limitMs;
    CliOutput* output;
    TRController trController;
    LinkSupervisor supervisor;
    QTimer telemetryTimer;
    QTimer watchTimer;
    // Since the last task that succeeded, or since findController() started while it runs: only a
    // supported controller ends the search, so answers of another board do not count there.
    QElapsedTimer silence;
    bool searching = false;
    QEventLoop* loop = nullptr;
    int pending = -1;
    int lostCode = -1;
};
