#pragma once

#include "engine/firmwareupdate.h"
#include "pages/pagefc.h"

#include <QTimer>

class SetupKeeper;

namespace Ui {
class PageFCFirmware;
}

// The firmware page: shows the controller's firmware version, loads a .bin file and runs the
// update on its own 50 ms tick, showing what the update engine says and asking the pilot what
// must be asked before the controller is sent into its bootloader.
class PageFCFirmware : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCFirmware(QWidget* parent = nullptr, Build when = Build::Now);
    ~PageFCFirmware() override;

    // The text label_progress_info shows for a progress state (empty for unknown states).
    static QString progressText(int state);

    FirmwareUpdate* update() { return &engine; }
    const FirmwareUpdate* update() const { return &engine; }
    QTimer* tickTimer() { return &tick; }

    // The automatic history: a snapshot of the setup is taken before an update starts.
    void setSetupKeeper(SetupKeeper* setupKeeper) { keeper = setupKeeper; }
    // Loads the firmware file last used (the stored path) again, as at construction.
    void loadStoredImage();
    // The makers' web address and e-mail address, shown as links that open in the desktop's
    // browser and mail program; an empty one is not shown, nor its caption.
    void setContacts(const QString& website, const QString& email);

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

protected:
    void build() override;

private:
    // The tick is precise while an update runs and coarse while idle; a change restarts it.
    void keepTime(bool updating);
    void showProgress(int state, int percent);
    void showFileLoaded();
    void showContacts();
    // Asks what the pilot must know before writing this image; true to go on.
    bool boardQuestionsAccepted();

    Ui::PageFCFirmware* ui;
    QTimer tick;
    FirmwareUpdate engine;
    SetupKeeper* keeper = nullptr;
    // The snapshot before an update is being taken: the button waits.
    bool preparing = false;
    QString website;
    QString email;
};
