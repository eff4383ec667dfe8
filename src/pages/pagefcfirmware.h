#pragma once

#include "pages/firmwareimage.h"
#include "pages/pagefc.h"

#include <QTimer>

#include <array>

namespace Ui {
class PageFCFirmware;
}

// The firmware page: shows the controller's firmware version, loads a .bin file and updates
// the controller through its bootloader, driven by its own 50 ms tick and the replies.
class PageFCFirmware : public PageFC
{
    Q_OBJECT

public:
    // Procedure steps.
    enum Step { Idle = 0, EnterBoot = 1, Program = 2, Verify = 3, LeaveBoot = 4 };
    static constexpr int kTickMs = 50;
    // No block confirmation for longer than this starts the pass over from block 0.
    static constexpr int kBlockTimeoutMs = 1999;

    explicit PageFCFirmware(QWidget* parent = nullptr);
    ~PageFCFirmware() override;

    // The text label_progress_info shows for a progress state (empty for unknown states).
    static QString progressText(int state);

    // For tests and tools.
    int step() const { return stepValue; }
    int progressState() const { return progress; }
    bool linkOk() const { return link; }
    int blockIndex() const { return blocks; }
    const FirmwareImage& image() const { return loaded; }
    QTimer* tickTimer() { return &tick; }

signals:
    void boot_state_changed(bool start);

public slots:
    void timeout();

private slots:
    void on_pushButton_update_clicked();
    void on_pushButton_loadFile_clicked();

public slots:
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;

private:
    void sendRequest(int type, bool urgent, int marker = -1);
    void sendBlock();
    void blockReplied(FCProtocol::Task* task);
    void showFileLoaded();
    // Asks what the pilot must know before writing this image; true to go on.
    bool boardQuestionsAccepted();
    // The controller's board identity word: the last FW_INFO_RD, else the telemetry's.
    bool controllerWord(qint32* word) const;

    Ui::PageFCFirmware* ui;
    QTimer tick;
    int stepValue = Idle;
    int progress = 0;
    bool link = false;
    FirmwareImage loaded;
    int blocks = 0;
    int waitMs = 0;
    bool blockReady = false;
    std::array<qint32, 4> controllerInfo{};
    bool controllerInfoKnown = false;
    qint32 telemetryWord = 0;
    bool telemetryKnown = false;
};
