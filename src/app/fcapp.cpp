#include "app/fcapp.h"

#include "app/accessnotice.h"
#include "app/buildinfo.h"
#include "app/dialoglanguageselect.h"
#include "app/dialogwarning.h"
#include "app/keygrabber.h"
#include "pages/pagefcfirmware.h"
#include "pages/pagefcframe.h"
#include "pages/pagefcpara.h"
#include "pages/pagefcrc.h"
#include "pages/pagefcscope.h"
#include "pages/pagefcstatus.h"
#include "protocol/helper.h"
#include "protocol/replydecode.h"
#include "protocol/task.h"
#include "ui_fcapp.h"
#include "usb/trcontroller.h"

#include <QAbstractButton>
#include <QBitmap>
#include <QCloseEvent>
#include <QButtonGroup>
#include <QDate>
#include <QDebug>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <QStandardItemModel>

namespace {

// The window's version suffix: the project version's major and minor digits ("09" for 0.9).
constexpr int kVersion = ORVANTE_VERSION_MAJOR * 10 + ORVANTE_VERSION_MINOR;
constexpr int kPageTickMs = 50;
constexpr int kInfoTickMs = 500;
constexpr int kFirmwarePageIndex = 4;
constexpr int kRcPageIndex = 2;
constexpr quint8 kCommandStart = 0xAB;

const QString kGreen = QStringLiteral("QLabel { color: rgb(0, 150, 0); }");
const QString kRed = QStringLiteral("QLabel { color: rgb(150, 0, 0); }");
const QString kGrey = QStringLiteral("QLabel { color: rgb(80, 80, 80); }");

} // namespace

FCApp::FCApp(QWidget* parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , versionSuffix(QStringLiteral("%1").arg(kVersion, 2, 10, QLatin1Char('0')))
    , trController(new TRController(nullptr))
    , keyGrabber(new KeyGrabber(nullptr))
    , ui(new Ui::FCApp)
    , pageButtons(new QButtonGroup(nullptr))
    , scopePage(new PageFCScope(nullptr))
{
    pageTimerObj.setInterval(kPageTickMs);
    infoTimerObj.setInterval(kInfoTickMs);

    // setupUi also binds on_pushButton_storge_clicked and on_pushButton_default_clicked.
    ui->setupUi(this);

    // The pages in stack order; the stack takes ownership.
    statusPage = new PageFCStatus(nullptr);
    framePage = new PageFCFrame(nullptr);
    rcPage = new PageFCRc(nullptr);
    paraPage = new PageFCPara(nullptr);
    firmwarePage = new PageFCFirmware(nullptr);
    const QList<PageFC*> pages{statusPage, framePage, rcPage, paraPage, firmwarePage};
    const QStringList names{QStringLiteral("pageFCStatus"), QStringLiteral("pageFCFrame"),
                            QStringLiteral("pageFCRc"), QStringLiteral("pageFCPara"),
                            QStringLiteral("pageFCFirmware")};
    for (int i = 0; i < pages.size(); ++i) {
        pages[i]->setObjectName(names[i]);
        ui->stackedWidget->addWidget(pages[i]);
    }
    ui->stackedWidget->setCurrentIndex(3);

    setWindowTitle(QCoreApplication::applicationName());
    connected = false;
    bootloader = false;
    setFocus(Qt::OtherFocusReason);
    setWindowTitle(QStringLiteral("ORVANTE_v") + versionSuffix);

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

    setupLanguageCombo();
    bindPages();
    accessNotice = new AccessNotice(trController->transport(), this);
}

FCApp::~FCApp()
{
    pageTimerObj.stop();
    infoTimerObj.stop();
    delete scopePage;
    delete pageButtons;
    delete keyGrabber;
    // Waits for a running transaction and deletes the tasks still queued.
    delete trController;
    delete ui;
}

QString FCApp::buildStamp(const char* date, const char* time)
{
    // The compiler pads one-digit days with a space ("Jan  1 2017"): collapse the runs.
    const QString dateText = QString::fromLatin1(date).simplified();
    const QDate built = QLocale::c().toDate(dateText, QStringLiteral("MMM d yyyy"));
    if (!built.isValid())
        return QString();
    return built.toString(QStringLiteral("yyyyMMdd"))
        + QString::fromLatin1(time).remove(QLatin1Char(':'));
}

QString FCApp::versionText() const
{
    return tr("version:") + QStringLiteral(" v") + versionSuffix + QStringLiteral("_")
        + buildStamp(__DATE__, __TIME__);
}

void FCApp::setupLanguageCombo()
{
    QSettings settings;
    QFont font(settings.value(QStringLiteral("font/you_family")).toString(), 11);
    font.setWeight(QFont::Bold);
    ui->comboBox_language->setFont(font);
    ui->comboBox_language->addItem(QStringLiteral("选择语言(Select Language)"));
    ui->comboBox_language->addItem(QStringLiteral("English"));
    ui->comboBox_language->addItem(QStringLiteral("简体中文"));
    if (auto* model = qobject_cast<QStandardItemModel*>(ui->comboBox_language->model())) {
        QStandardItem* caption = model->item(0);
        caption->setFlags(caption->flags() & ~Qt::ItemIsSelectable);
    }
    ui->comboBox_language->setCurrentIndex(0);
    connect(ui->comboBox_language, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &FCApp::language_changed);
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

    pageTimerObj.start(kPageTickMs);
    infoTimerObj.start(kInfoTickMs);
}

void FCApp::InfoRDTimerTimeOut()
{
    PreAddTask(new FCProtocol::Task(FCProtocol::INFO_RD, false));
}

void FCApp::PreAddTask(FCProtocol::Task* task)
{
    connect(task, &FCProtocol::Task::TaskDone, this, &FCApp::TaskDone);
    trController->AddTask(task);
}

void FCApp::TaskDone(FCProtocol::Task* task)
{
    if (bootloader) {
        // During an update only the shown firmware page may see results.
        if (ui->stackedWidget->currentIndex() == kFirmwarePageIndex)
            deliverTask(firmwarePage, task);
    } else if (connected) {
        if (auto* page = qobject_cast<PageFC*>(ui->stackedWidget->currentWidget()))
            deliverTask(page, task);
        deliverTask(scopePage, task);
    }

    trackStorage(task);

    if (task->status == FCProtocol::Task::Success) {
        task->rxStream.device()->seek(task->headLength);
        if (task->type == FCProtocol::INFO_RD) {
            FCProtocol::DS_INFO_RD record;
            // A reply too short for the record is no telemetry at all.
            if (FCProtocol::ReplyDecode::decodeInfo(task->rxData.mid(task->headLength), &record)) {
                info = record;
                if (FCProtocol::Helper::isSupportedBoard(info.boardWord)) {
                    connected = true;
                    ui->checkBox_usb->setCheckState(Qt::Checked);
                    ui->label_usb->setText(tr("Connected"));
                    ui->label_usb->setStyleSheet(kGreen);
                    emit InfoRDDone(info);
                    showTelemetry(info);
                    if (!layoutAdjusted) {
                        trimNavigation(info);
                        layoutAdjusted = true;
                    }
                } else {
                    connected = false;
                }
                update();
            } else {
                qDebug() << "Short telemetry reply:" << task->rxData.size() << "bytes";
            }
        }
    } else if (task->type == FCProtocol::INFO_RD) {
        showDisconnected();
        update();
        if (task->status == FCProtocol::Task::LinkFailed)
            accessNotice->linkFailed();
    }

    disconnect(task, &FCProtocol::Task::TaskDone, this, &FCApp::TaskDone);
    task->deleteLater();
}

void FCApp::deliverTask(PageFC* page, FCProtocol::Task* task)
{
    page->TaskDone(task);
}

void FCApp::showTelemetry(const FCProtocol::DS_INFO_RD& record)
{
    bool good = false;
    QString text;
    if (record.mode == 0) {
        switch (record.errorCode) {
        case 0: text = tr("Self-Test OK"); good = true; break;
        case 1: text = tr("Critical system error"); break;
        case 2: text = tr("Sensors are initializing"); break;
        case 3: text = tr("Gyroscope error"); break;
        case 4: text = tr("Compass error"); break;
        case 5: text = tr("Sensors error"); break;
        case 6: text = tr("AHRS is initializing"); break;
        case 7: text = tr("RC calibration error (not calibrated or calibrating)"); break;
        case 8: text = tr("RC signal lost"); break;
        case 9: text = tr("RC error"); break;
        case 10: text = tr("Compass not calibrated"); break;
        case 11: text = tr("Invalid parameter"); break;
        case 12: text = tr("Parameter error"); break;
        case 13: text = tr("Magnetic noise"); break;
        default: text = tr("Unknown error"); break;
        }
    } else if (record.mode == 1) {
        text = tr("Firmware Update Mode");
        good = true;
    } else {
        text = tr("Critical Error: Unknown Mode");
    }
    ui->label_err->setText(text);
    ui->label_err->setStyleSheet(good ? kGreen : kRed);
    ui->checkBox_err->setCheckState(good ? Qt::Checked : Qt::PartiallyChecked);
}

void FCApp::showDisconnected()
{
    ui->checkBox_usb->setCheckState(Qt::Unchecked);
    ui->label_usb->setText(tr("Disconnected"));
    ui->label_usb->setStyleSheet(kGrey);
    ui->checkBox_err->setCheckState(Qt::Unchecked);
    ui->label_err->setText(QString());
}

void FCApp::trimNavigation(const FCProtocol::DS_INFO_RD& record)
{
    if (!FCProtocol::Helper::isEmuBoard(record.boardWord))
        return;
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
    bootloader = start;
    for (QAbstractButton* button : pageButtons->buttons())
        button->setEnabled(!start);
    ui->pushButton_default->setEnabled(!start);
    ui->pushButton_storge->setEnabled(!start);
}

void FCApp::on_pushButton_storge_clicked()
{
    auto* task = new FCProtocol::Task(FCProtocol::STORE, false);
    task->urgent = true;
    task->txStream << qint8(kCommandStart);
    PreAddTask(task);
}

void FCApp::language_changed(int n)
{
    qDebug() << n;
    QLocale locale;
    if (n == 1) {
        QSettings().setValue(QStringLiteral("main/language"), QStringLiteral("en"));
        locale = QLocale(QLocale::English, QLocale::AnyCountry);
    } else if (n == 2) {
        QSettings().setValue(QStringLiteral("main/language"), QStringLiteral("zh"));
        locale = QLocale(QLocale::Chinese, QLocale::AnyCountry);
    } else {
        return;
    }
    ui->comboBox_language->setCurrentIndex(0);

    DialogLanguageSelect notice(this);
    notice.setLanguage(locale);
    notice.exec();
}

void FCApp::on_pushButton_default_clicked()
{
    DialogWarning question;
    question.setText(
        tr("This operation will restore all settings to default value, are you sure?"));
    question.exec();
    if (question.result() != QDialog::Accepted)
        return;
    auto* task = new FCProtocol::Task(FCProtocol::DEFAULT_RESTORE, true);
    task->txStream << qint8(kCommandStart);
    PreAddTask(task);
}

void FCApp::showVersionDialog()
{
    DialogWarning version;
    version.setText(versionText());
    version.exec();
}

void FCApp::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (ui->frame_title->geometry().contains(event->localPos().toPoint())) {
            dragging = true;
            const QPoint offset = event->globalPos() - frameGeometry().topLeft();
            dragX = offset.x();
            dragY = offset.y();
            event->accept();
        } else {
            event->ignore();
        }
    } else if (event->button() == Qt::RightButton) {
        showVersionDialog();
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
        move(event->globalPos() - QPoint(dragX, dragY));
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
        QBitmap mask(size());
        mask.clear();
        {
            QPainter painter(&mask);
            painter.setPen(Qt::color1);
            painter.setBrush(Qt::color1);
            painter.drawRoundedRect(rect(), 10, 10, Qt::AbsoluteSize);
        }
        setMask(mask);
        maskSize = size();
    }
    QMainWindow::paintEvent(event);
}

bool FCApp::updateAllowsClose()
{
    if (!bootloader)
        return true;
    DialogWarning question;
    question.setText(tr("A firmware update is running. Closing now can leave the controller "
                        "without working firmware. Close anyway?"));
    question.exec();
    return question.result() == QDialog::Accepted;
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

void FCApp::trackStorage(const FCProtocol::Task* task)
{
    if (task->status != FCProtocol::Task::Success)
        return;
    switch (task->type) {
    case FCProtocol::PARA_WR:
    case FCProtocol::RC_WR:
        setUnstoredChanges(true);
        break;
    case FCProtocol::FRAME_RW:
        // Only the write form (first payload byte 1) changes the controller; 0 reads.
        if (task->txData.size() > task->headLength && task->txData.at(task->headLength) == 1)
            setUnstoredChanges(true);
        break;
    case FCProtocol::STORE:
    case FCProtocol::DEFAULT_RESTORE:
        setUnstoredChanges(false);
        break;
    default:
        break;
    }
}

void FCApp::setUnstoredChanges(bool unstored)
{
    if (unstored == unstoredChanges)
        return;
    unstoredChanges = unstored;
    // The button's own sheet wins over the window's: the fourth image while marked.
    ui->pushButton_storge->setStyleSheet(
        unstored ? QStringLiteral("QPushButton#pushButton_storge { background-image: url(:/GUI/save4.png); }\n"
                                  "QPushButton#pushButton_storge:hover { background-image: url(:/GUI/save2.png); }\n"
                                  "QPushButton#pushButton_storge:pressed { background-image: url(:/GUI/save3.png); }")
                 : QString());
    ui->pushButton_storge->setToolTip(
        unstored ? tr("Changes are not stored in the controller yet. Press Save to keep them after a power cycle.")
                 : QString());
}

void FCApp::closeEvent(QCloseEvent* event)
{
    if (!updateAllowsClose()) {
        event->ignore();
        return;
    }
    // Once the pilot chose to leave a running update, the not-stored question is moot: the
    // controller is in its bootloader.
    if (unstoredChanges && !bootloader) {
        DialogWarning question;
        question.setText(tr("Changes are not stored in the controller yet and are lost when it is switched off. "
                            "Close anyway?"));
        question.exec();
        if (question.result() != QDialog::Accepted) {
            event->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(event);
}
