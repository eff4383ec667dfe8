#pragma once

#include "app/pagebuilder.h"
#include "engine/linksupervisor.h"
#include "engine/notstoredmark.h"
#include "protocol/dsinforrd.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>

class AccessNotice;
class DialogWarning;
class SetupHistory;
class SetupKeeper;
class SetupStore;
class SetupNotices;
class KeyGrabber;
class QButtonGroup;
class StatusStrip;
class PageFC;
class PageFCFirmware;
class PageFCFrame;
class PageFCPara;
class PageFCRc;
class PageFCScope;
class PageFCStatus;
class TRController;

namespace FCProtocol {
class Task;
}

namespace Ui {
class FCApp;
}

// The main window: page stack and navigation, status strip, telemetry polling and the hub
// that queues every page's tasks and routes each finished task back.
class FCApp : public QMainWindow
{
    Q_OBJECT

public:
    explicit FCApp(QWidget* parent = nullptr);
    ~FCApp() override;

    // For the shell's own tests and tools.
    TRController* controller() const { return trController; }
    QTimer* pageTimer() { return &pageTimerObj; }
    QTimer* infoTimer() { return &infoTimerObj; }
    PageFCScope* scopeWindow() const { return scopePage; }
    LinkSupervisor* link() const { return supervisor; }
    bool isConnected() const { return supervisor->isConnected(); }
    bool isBootloader() const { return supervisor->isUpdating(); }
    FCProtocol::DS_INFO_RD lastInfo() const { return supervisor->lastInfo(); }
    // Writes have changed the controller's working values since the last store.
    bool hasUnstoredChanges() const { return notStored->isSet(); }
    // The automatic history of the controllers' setups.
    SetupKeeper* setupKeeper() const { return keeper; }
    // Every page's form built now, rather than after the first paint.
    void buildPages() { pageBuilder->buildAll(); }

signals:
    void InfoRDDone(FCProtocol::DS_INFO_RD info);

private slots:
    void InfoRDTimerTimeOut();
    void TaskDone(FCProtocol::Task* task);
    void PreAddTask(FCProtocol::Task* task);
    void boot_state_changed(bool start);
    void page_button_clicked(int i);
    void on_pushButton_storge_clicked();
    void language_changed(int n);
    void on_pushButton_default_clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Tab goes through the title strip, the page buttons, the page shown and the status strip,
    // in that order, whenever each page's form was built.
    bool focusNextPrevChild(bool next) override;

    // Hands a finished task to one page; every routed result passes here.
    virtual void deliverTask(PageFC* page, FCProtocol::Task* task);

private:
    void bindPages();
    // The status strip: a supported controller answered, or the telemetry read failed.
    void showTelemetry(const FCProtocol::DS_INFO_RD& record);
    void showDisconnected(int status);
    void trimNavigation();
    // The Save button says when the controller holds changes it has not stored.
    void showNotStored(bool unstored);
    // The controller waits in its bootloader (an interrupted update): offers the firmware page.
    void showBootloaderNotice(const FCProtocol::DS_INFO_RD& info);
    void openFirmwarePage();

    TRController* trController;
    QTimer pageTimerObj;
    QTimer infoTimerObj;
    KeyGrabber* keyGrabber;
    Ui::FCApp* ui;
    StatusStrip* strip = nullptr;
    QButtonGroup* pageButtons;
    QSize maskSize;
    PageFCScope* scopePage;
    LinkSupervisor* supervisor;
    NotStoredMark* notStored;
    SetupHistory* history;
    SetupKeeper* keeper;
    SetupStore* store;
    SetupNotices* notices;

    PageFCStatus* statusPage = nullptr;
    PageFCFrame* framePage = nullptr;
    PageFCRc* rcPage = nullptr;
    PageFCPara* paraPage = nullptr;
    PageFCFirmware* firmwarePage = nullptr;

    // Says once per run when the controller is plugged in but closed to this user.
    AccessNotice* accessNotice = nullptr;
    PageBuilder* pageBuilder = nullptr;
};
