#pragma once

#include "engine/firmwareimage.h"

#include <QObject>

#include <array>

namespace FCProtocol {
class Task;
}

// The firmware update through the controller's bootloader: into the bootloader, the image
// block by block, the bootloader's verify, back into the flight firmware. Driven by a 50 ms
// tick and by the replies; it emits the tasks to send and takes every finished one back.
//
// Replies act only in the step that asked for them: several BOOT_JUMP or VERIFY requests may be
// under way while the controller is silent, and a late BLOCK_PROG confirmation counts only for
// the block it confirms, so no request ever carries bytes beyond the image.
//
// Every update ends: in success, at a verify mismatch, or after noProgressLimit() without
// progress (no new block confirmed, or the jump, the verify, the return jump or the restarted
// flight firmware not answering). A failed one leaves the controller in its bootloader, where
// the next start finds it.
class FirmwareUpdate : public QObject
{
    Q_OBJECT

public:
    enum Step { Idle = 0, EnterBoot = 1, Program = 2, Verify = 3, LeaveBoot = 4 };
    // What the pilot is told: nothing yet, "Preparing for update...", "Updating...", "Update
    // done, Restarting...", "Update success", "Update fail".
    enum Progress { NoProgress = 0, Preparing = 1, Updating = 2, Restarting = 3, Succeeded = 4, Failed = 5 };
    enum class Result { Success, VerifyFailed, NoProgress };
    // How the loaded image fits the controller that answers.
    enum class BoardMatch {
        Unknown,    // no controller identity read yet
        Fine,       // the same board with other firmware, or a bootloader (which does not say its board)
        Same,       // exactly this firmware runs already
        OtherBoard, // the image is for another board
    };

    static constexpr int kTickMs = 50;
    // No block confirmation for longer than this starts the pass over from block 0.
    static constexpr int kBlockTimeoutMs = 1999;
    // An update without progress for this long ends as failed.
    static constexpr int kNoProgressMs = 30000;

    // The limit every update takes at its start (kNoProgressMs); process-wide, for tests,
    // which never wait 30 s.
    static void setNoProgressLimit(int ms);
    static int noProgressLimit();

    explicit FirmwareUpdate(QObject* parent = nullptr);

    // What the pilot reads for a progress state, in the running language (the firmware page's
    // texts); empty for NoProgress and unknown states.
    static QString progressText(int state);

    Step step() const { return stepValue; }
    bool isRunning() const { return stepValue != Idle; }
    int progressState() const { return progressValue; }
    // The percentage of the image confirmed; -1 while no image is loaded.
    int percent() const;
    // The last task of this update succeeded (false after a failed one, and before any).
    bool linkOk() const { return link; }
    int blockIndex() const { return blocks; }
    // The controller confirmed the jump into its bootloader during the last update, and that
    // update has not ended in success: stopped now, it may wait there.
    bool bootloaderEntered() const { return entered; }

    const FirmwareImage& image() const { return loaded; }
    // Checks the file (FirmwareImage::checkBinFile); on Ok it becomes the image to write. While an
    // update runs the image being written never changes: NotAFile, "update running: image kept".
    int loadImage(const QString& path);

    // Idle ticks read the controller's version (FW_INFO_RD) only while this is on: the window
    // shows it while its page is visible.
    void setVersionReads(bool on) { versionReads = on; }
    // The identity word from the telemetry, used until the first FW_INFO_RD reply.
    void setTelemetryWord(qint32 word);
    // The controller's identity word: the last FW_INFO_RD's third word, else the telemetry's.
    bool controllerWord(qint32* word) const;
    BoardMatch boardMatch() const;

    // Starts the procedure when idle, with a working link and an image loaded; false and nothing
    // changes otherwise. Emits started().
    bool start();

public slots:
    void tick();
    void taskDone(FCProtocol::Task* task);

signals:
    void sendTask(FCProtocol::Task* task);
    void started();
    // On every tick, before the step acts: what the pilot should read now.
    void progress(int state, int percent);
    // FW_INFO_RD answered: the controller's identity word.
    void versionRead(qint32 word);
    // Success only once the restarted flight firmware answers FW_INFO_RD; a verify mismatch
    // or no progress leaves the controller in its bootloader.
    void finished(FirmwareUpdate::Result result);

private:
    void sendBlock();
    void blockReplied(FCProtocol::Task* task);
    // The block of this BLOCK_PROG is the one being waited for.
    bool awaited(const FCProtocol::Task* task) const;
    // The step moves on, or a new block is confirmed: the time without progress starts again.
    void progressed() { stalledMs = 0; }
    // Counts a tick without progress; true when the update has just ended for it.
    bool stalled();
    void fail(Result result);

    Step stepValue = Idle;
    int progressValue = NoProgress;
    bool link = false;
    FirmwareImage loaded;
    int blocks = 0;
    int waitMs = 0;
    bool blockReady = false;
    // A tick found the block in flight unconfirmed: its turn passes to the confirmation.
    bool turnMissed = false;
    int stalledMs = 0;
    int limitMs = kNoProgressMs;
    // The most blocks confirmed in a row in this update.
    int bestBlocks = 0;
    bool entered = false;
    bool versionReads = true;
    std::array<qint32, 4> controllerInfo{};
    bool controllerInfoKnown = false;
    qint32 telemetryWord = 0;
    bool telemetryKnown = false;
};
