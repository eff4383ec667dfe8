#include "app/fcapp.h"

#include "app/accessnotice.h"
#include "app/dialoglanguageselect.h"
#include "app/keygrabber.h"
#include "app/languagechoice.h"
#include "app/setupnotices.h"
#include "app/versioninfo.h"
#include "engine/linksupervisor.h"
#include "engine/notstoredmark.h"
#include "engine/setuphistory.h"
#include "engine/setupkeeper.h"
#include "pages/pagefcfirmware.h"
#include "pages/pagefcframe.h"
#include "pages/pagefcpara.h"
#include "pages/pagefcrc.h"
#include "pages/pagefcscope.h"
#include "pages/pagefcstatus.h"
#include "protocol/requests.h"
#include "protocol/task.h"
#include "ui_fcapp.h"
#include "usb/trcontroller.h"
#include "widgets/dialogwarning.h"
#include "widgets/statusstrip.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QButtonGroup>
#include <QDebug>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>

namespace {

constexpr int kPageTickMs = 50;
constexpr int kFirmwarePageIndex = 4;
constexpr int kRcPageIndex = 2;

} // namespace

FCApp::FCApp(QWidget* parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , trController(new TRController(nullptr))
    , keyGrabber(new KeyGrabber(nullptr))
    , ui(new Ui::FCApp)
    , pageButtons(new QButtonGroup(nullptr))
    , scopePage(new PageFCScope(nullptr, PageFC::Build::Later))
    , supervisor(new LinkSupervisor(this))
    , notStored(new NotStoredMark(this))
    , history(new SetupHistory(SetupHistory::defaultRoot(), this))
    , keeper(new SetupKeeper(history, this))
    , notices(new SetupNotices(history, this))
{
    pageTimerObj.setInterval(kPageTickMs);
    infoTimerObj.setInterval(LinkSupervisor::kTickMs);

    // setupUi also binds on_pushButton_storge_clicked and on_pushButton_default_clicked.
    ui->setupUi(this);
    strip = new StatusStrip(ui->checkBox_usb, ui->label_usb, ui->checkBox_err, ui->label_err, ui->pushButton_storge);

    // The pages in stack order; the stack takes ownership. The status page is shown first; the
    // others build their forms after the first paint, or when shown before that.
    statusPage = new PageFCStatus(nullptr);
    framePage = new PageFCFrame(nullptr, PageFC::Build::Later);
    rcPage = new PageFCRc(nullptr, PageFC::Build::Later);
    paraPage = new PageFCPara(nullptr, PageFC::Build::Later);
    firmwarePage = new PageFCFirmware(nullptr, PageFC::Build::Later);
    const QList<PageFC*> pages{statusPage, framePage, rcPage, paraPage, firmwarePage};
    const QStringList names{QStringLiteral("pageFCStatus"), QStringLiteral("pageFCFrame"),
                            QStringLiteral("pageFCRc"), QStringLiteral("pageFCPara"),
                            QStringLiteral("pageFCFirmware")};
    for (int i = 0; i < pages.size(); ++i) {
        pages[i]->setObjectName(names[i]);
        ui->stackedWidget->addWidget(pages[i]);
    }
    pageBuilder = new PageBuilder(this, {framePage, rcPage, paraPage, firmwarePage, scopePage});

    setWindowTitle(QCoreApplication::applicationName());
    setFocus(Qt::OtherFocusReason);
    setWindowTitle(QStringLiteral("ORVANTE_v") + VersionInfo::suffix());

    // Closed any other way (the window manager's close, Alt+F4), the main window still ends
    // the program: an open scope window must not keep it running without its controller.
    scopePage->setAttribute(Qt::WA_QuitOnClose, false);
    connect(ui->pushButton_appClose, &QPushButton::clicked, this, &QWidget::close);
    // The scope window goes only if the main window really closed (the pilot may keep it
    // open when asked about changes not stored yet).
    connect(ui->pushButton_appClose, &QPushButton::clicked, scopePage, [this] {
        if (!isVisible())
            scopePage->close();
    });
    connect(ui->pushButton_appMin, &QPushButton::clicked, this, &QWidget::showMinimized);

    ui->stackedWidget->setCurrentIndex(0);
    ui->radioButton_page1->setChecked(true);

    pageButtons->addButton(ui->radioButton_page1, 0);
    pageButtons->addButton(ui->radioButton_page3, 2);
    pageButtons->addButton(ui->radioButton_page4, 3);
    pageButtons->addButton(ui->radioButton_page5, 4);
    connect(pageButtons, &QButtonGroup::idClicked, ui->stackedWidget,
            &QStackedWidget::setCurrentIndex);
    connect(pageButtons, &QButtonGroup::idClicked, this,
            &FCApp::page_button_clicked);

    paraPage->setSetupKeeper(keeper);
    firmwarePage->setSetupKeeper(keeper);

    LanguageChoice::fill(ui->comboBox_language);
    connect(ui->comboBox_language, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &FCApp::language_changed);
    bindPages();
    accessNotice = new AccessNotice(trController->transport(), this);
}

FCApp::~FCApp()
{
    pageTimerObj.stop();
    infoTimerObj.stop();
    // A snapshot still being read ends when the controller deletes its tasks below, and would
    // then send its command into the controller being destroyed.
    paraPage->setSetupKeeper(nullptr);
    firmwarePage->setSetupKeeper(nullptr);
    delete keeper;
    keeper = nullptr;
    delete scopePage;
    delete pageButtons;
    delete keyGrabber;
    // Waits for a running transaction and deletes the tasks still queued.
    delete trController;
    delete strip;
    delete ui;
}

void FCApp::bindPages()
{
    connect(&infoTimerObj, &QTimer::timeout, this, &FCApp::InfoRDTimerTimeOut);
    for (int i = 0; i < ui->stackedWidget->count(); ++i) {
        auto* page = static_cast<PageFC*>(ui->stackedWidget->widget(i));
        connect(&pageTimerObj, &QTimer::timeout, page, &PageFC::mainLoop);
        connect(this, &FCApp::InfoRDDone, page, &PageFC::InfoRDDone);
        connect(page, &PageFC::AddTask, this, &FCApp::PreAddTask);
    }
    connect(&pageTimerObj, &QTimer::timeout, scopePage, &PageFC::mainLoop);
    connect(scopePage, &PageFC::AddTask, this, &FCApp::PreAddTask);
    connect(firmwarePage, &PageFCFirmware::boot_state_changed, this, &FCApp::boot_state_changed);

    connect(supervisor, &LinkSupervisor::sendTask, this, &FCApp::PreAddTask);
    connect(supervisor, &LinkSupervisor::telemetry, this, &FCApp::showTelemetry);
    connect(supervisor, &LinkSupervisor::telemetryFailed, this, &FCApp::showDisconnected);
    connect(supervisor, &LinkSupervisor::radioOnlyBoard, this, &FCApp::trimNavigation);
    connect(notStored, &NotStoredMark::changed, this, &FCApp::showNotStored);
    connect(keeper, &SetupKeeper::sendTask, this, &FCApp::PreAddTask);
    connect(supervisor, &LinkSupervisor::linkUp, this,
            [this](const FCProtocol::DS_INFO_RD& info) { keeper->linkUp(info, supervisor->isUpdating()); });
    // Queued: the questions open from the event loop, never inside a task's completion.
    connect(supervisor, &LinkSupervisor::bootloaderWaiting, this, &FCApp::showBootloaderNotice,
            Qt::QueuedConnection);
    connect(history, &SetupHistory::unwritable, notices, &SetupNotices::historyUnwritable, Qt::QueuedConnection);
    connect(notices, &SetupNotices::openFirmwarePage, this, &FCApp::openFirmwarePage);

    pageTimerObj.start(kPageTickMs);
    infoTimerObj.start(LinkSupervisor::kTickMs);
}

void FCApp::InfoRDTimerTimeOut()
{
    supervisor->tick();
}

void FCApp::PreAddTask(FCProtocol::Task* task)
{
    connect(task, &FCProtocol::Task::TaskDone, this, &FCApp::TaskDone);
    trController->AddTask(task);
}

void FCApp::TaskDone(FCProtocol::Task* task)
{
    switch (supervisor->route()) {
    case LinkSupervisor::Route::FirmwarePage:
        // During an update only the shown firmware page may see results.
        if (ui->stackedWidget->currentIndex() == kFirmwarePageIndex)
            deliverTask(firmwarePage, task);
        break;
    case LinkSupervisor::Route::CurrentPageAndScope:
        if (auto* page = qobject_cast<PageFC*>(ui->stackedWidget->currentWidget()))
            deliverTask(page, task);
        deliverTask(scopePage, task);
        break;
    case LinkSupervisor::Route::Nobody:
        break;
    }
    notStored->taskDone(task);
    keeper->taskDone(task);
    supervisor->taskDone(task);

    disconnect(task, &FCProtocol::Task::TaskDone, this, &FCApp::TaskDone);
    task->deleteLater();
}

void FCApp::deliverTask(PageFC* page, FCProtocol::Task* task)
{
    page->TaskDone(task);
}

void FCApp::showTelemetry(const FCProtocol::DS_INFO_RD& record)
{
    strip->showConnected(tr("Connected"));
    strip->setHint(QString());
    emit InfoRDDone(record);
    const LinkSupervisor::SelfTest test = LinkSupervisor::selfTest(record);
    // The strip's lamps and texts repaint themselves when they change; the rest of the
    // window has nothing new to show.
    strip->showSelfTest(test.text, test.good);
}

void FCApp::showDisconnected(int status)
{
    strip->showDisconnected(tr("Disconnected"));
    // Read between transactions, as the transport wants: this runs from the task's TaskDone.
    strip->setHint(status == FCProtocol::Task::LinkFailed ? AccessNotice::lockHint(trController->transport())
                                                          : QString());
    if (status == FCProtocol::Task::LinkFailed)
        accessNotice->linkFailed();
}

void FCApp::trimNavigation()
{
    // This board has only the radio page.
    rcPage->HideEmuNoNeedUi();
    ui->radioButton_page1->hide();
    ui->radioButton_page4->hide();
    ui->radioButton_page5->hide();
    ui->stackedWidget->setCurrentIndex(kRcPageIndex);
    ui->radioButton_page3->setChecked(true);
    // Leaving the firmware page this way must resume the page ticks as a click would.
    if (!pageTimerObj.isActive())
        pageTimerObj.start(kPageTickMs);
}

void FCApp::page_button_clicked(int i)
{
    if (i == kFirmwarePageIndex) {
        // The other pages' reads are of no use any more; a command still waiting (a store
        // the pilot pressed) is still sent.
        trController->DropPolls();
        pageTimerObj.stop();
    } else if (!pageTimerObj.isActive()) {
        pageTimerObj.start(kPageTickMs);
    }
}

void FCApp::boot_state_changed(bool start)
{
    supervisor->setUpdating(start);
    for (QAbstractButton* button : pageButtons->buttons())
        button->setEnabled(!start);
    ui->pushButton_default->setEnabled(!start);
    ui->pushButton_storge->setEnabled(!start);
}

void FCApp::on_pushButton_storge_clicked()
{
    // The values about to become permanent, kept first; the store goes out in any case.
    keeper->snapshotThen(QLatin1String(SetupHistory::kBeforeStore), this,
                         [this] { PreAddTask(FCProtocol::Request::store()); });
}

void FCApp::language_changed(int n)
{
    qDebug() << n;
    QLocale locale;
    if (!LanguageChoice::store(n, &locale))
        return;
    ui->comboBox_language->setCurrentIndex(0);

    DialogLanguageSelect notice(this);
    notice.setLanguage(locale);
    notice.exec();
}

void FCApp::on_pushButton_default_clicked()
{
    if (DialogWarning::ask(tr("This operation will restore all settings to default value, are you sure?")))
        keeper->snapshotThen(QLatin1String(SetupHistory::kBeforeDefaults), this,
                             [this] { PreAddTask(FCProtocol::Request::defaultRestore()); });
}

void FCApp::showBootloaderNotice(const FCProtocol::DS_INFO_RD& info)
{
    // A board whose firmware page is trimmed away cannot be offered it.
    if (!ui->radioButton_page5->isHidden() && !supervisor->isUpdating())
        notices->bootloaderWaiting(info);
}

void FCApp::openFirmwarePage()
{
    ui->stackedWidget->setCurrentIndex(kFirmwarePageIndex);
    ui->radioButton_page5->setChecked(true);
    page_button_clicked(kFirmwarePageIndex);
    firmwarePage->loadStoredImage();
}

void FCApp::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (ui->frame_title->geometry().contains(event->pos())) {
            dragging = true;
            const QPoint offset = mapToGlobal(event->pos()) - frameGeometry().topLeft();
            dragX = offset.x();
            dragY = offset.y();
            event->accept();
        } else {
            event->ignore();
        }
    } else if (event->button() == Qt::RightButton) {
        DialogWarning::tell(VersionInfo::dialogText());
    } else {
        event->ignore();
    }
}

void FCApp::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragging = false;
        event->accept();
    } else {
        event->ignore();
    }
}

void FCApp::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && dragging) {
        move(mapToGlobal(event->pos()) - QPoint(dragX, dragY));
        event->accept();
    } else {
        event->ignore();
    }
}

void FCApp::keyPressEvent(QKeyEvent* event)
{
    qDebug() << event->key();
    if (event->key() == Qt::Key_S && !scopePage->isVisible())
        scopePage->show();
}

void FCApp::paintEvent(QPaintEvent* event)
{
    // Only the rounded client area is visible. The pages repaint many times a second through
    // the window beneath them, so the mask is rebuilt only when the window size differs from
    // the one it was built for (the result is the same on every paint).
    if (maskSize != size()) {
        setMask(StatusStrip::roundedMask(size(), 10));
        maskSize = size();
    }
    QMainWindow::paintEvent(event);
}

void FCApp::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        if (windowState() & Qt::WindowMinimized) {
            qDebug() << "Qt::WindowMinimized";
        } else if (windowState() == Qt::WindowNoState) {
            showNormal();
            qDebug() << "Qt::WindowNoState";
        }
    }
    QMainWindow::changeEvent(event);
}

void FCApp::showNotStored(bool unstored)
{
    strip->showNotStored(unstored ? tr("Changes are not stored in the controller yet. Press Save to keep them "
                                       "after a power cycle.")
                                  : QString());
}

void FCApp::closeEvent(QCloseEvent* event)
{
    // Leaving a running update can leave the controller without working firmware; once the
    // pilot chose that, the not-stored question is moot: the controller is in its bootloader.
    const bool close = supervisor->isUpdating()
        ? DialogWarning::ask(tr("A firmware update is running. Closing now can leave the controller "
                                "without working firmware. Close anyway?"))
        : !notStored->isSet()
            || DialogWarning::ask(tr("Changes are not stored in the controller yet and are lost when it is "
                                     "switched off. Close anyway?"));
    if (close)
        QMainWindow::closeEvent(event);
    else
        event->ignore();
}
