#pragma once

#include "protocol/dsinforrd.h"

#include <QObject>
#include <QString>

namespace FCProtocol {
class Task;
}

// Watches the link through the telemetry read: decides from each INFO_RD reply whether a
// supported controller is connected, says when the read fails, and tells who may receive the
// result of a finished task. Issues one INFO_RD per tick; the owner sends it and hands every
// finished task back.
class LinkSupervisor : public QObject
{
    Q_OBJECT

public:
    static constexpr int kTickMs = 500;

    // Who gets the result of a task that finishes now.
    enum class Route {
        Nobody,              // no supported controller has answered (or another board did)
        FirmwarePage,        // an update runs: the firmware page alone, and only while shown
        CurrentPageAndScope, // the shown page, then the scope window
    };

    explicit LinkSupervisor(QObject* parent = nullptr);

    // Connected: the last telemetry reply came from a supported board. A failed read keeps
    // the flag, so that results keep flowing while the link is down; another board clears it.
    bool isConnected() const { return connected; }
    // A firmware update runs (the firmware page said so).
    bool isUpdating() const { return updating; }
    // The last telemetry record decoded, whatever the board; valid once hasInfo().
    FCProtocol::DS_INFO_RD lastInfo() const { return info; }
    bool hasInfo() const { return infoKnown; }

    Route route() const;

    // Whether a task may go out now. A periodic read (not urgent) waits for the telemetry: until
    // a supported controller has answered on this connection, only the telemetry read goes, so
    // that the first transaction on a newly opened device is the one every mode answers and no
    // read it would leave unanswered holds the link for a whole reply wait first; while the
    // controller runs its bootloader, only the reads a bootloader answers (the telemetry and the
    // firmware version). Commands and whatever an update sends always go.
    bool admits(const FCProtocol::Task* task) const;

    // The self-test line of the status strip for a record, in the running language: the text
    // and whether it is good news (green) or not (red).
    struct SelfTest {
        QString text;
        bool good = false;
    };
    static SelfTest selfTest(const FCProtocol::DS_INFO_RD& record);

public slots:
    // The telemetry tick: one INFO_RD, whatever the queue, the page or the connection.
    void tick();
    void setUpdating(bool running);
    // Every finished task passes here, after its result was routed.
    void taskDone(const FCProtocol::Task* task);

signals:
    void sendTask(FCProtocol::Task* task);
    // A supported controller answered the telemetry read.
    void telemetry(FCProtocol::DS_INFO_RD info);
    // The telemetry read failed (status < 0): the link is down or the controller silent.
    void telemetryFailed(int status);
    // The first supported controller of the run is the radio-only board (board id 0x40).
    void radioOnlyBoard();
    // A connection begins: the first telemetry of a supported controller since the program
    // started, since the device was lost (a read failing with LinkFailed, or two failed reads
    // in a row) or since another board answered.
    void linkUp(FCProtocol::DS_INFO_RD info);
    // Once per connection: the controller runs its bootloader (mode 1) and no update runs, as
    // after an interrupted update. A connection on which an update ran never says it.
    void bootloaderWaiting(FCProtocol::DS_INFO_RD info);

private:
    bool connected = false;
    bool updating = false;
    bool firstBoardSeen = false;
    bool infoKnown = false;
    FCProtocol::DS_INFO_RD info;
    bool linked = false;
    int failuresInRow = 0;
    bool bootloaderSaid = false;
};
