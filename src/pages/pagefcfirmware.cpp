#include "pages/pagefcfirmware.h"

#include "engine/setuphistory.h"
#include "engine/setupkeeper.h"
#include "protocol/helper.h"
#include "ui_pagefcfirmware.h"
#include "widgets/dialogwarning.h"

#include <QDebug>
#include <QFileDialog>
#include <QSettings>
#include <QUrl>

using FCProtocol::Helper;

namespace {

const QString kPathKey = QStringLiteral("firmware/path");

QString storedPath()
{
    return QSettings().value(kPathKey).toString();
}

// A link in the skin's accent colour; the desktop opens it (the labels open external links).
QString link(const QString& target, const QString& shown)
{
    return QStringLiteral("<a href=\"%1\" style=\"color: rgb(22, 136, 216); text-decoration: none;\">%2</a>")
        .arg(target.toHtmlEscaped(), shown.toHtmlEscaped());
}

} // namespace

PageFCFirmware::PageFCFirmware(QWidget* parent, Build when)
    : PageFC(parent)
    , ui(new Ui::PageFCFirmware)
{
    setObjectName(QStringLiteral("pageFCFirmware"));
    setFixedSize(780, 310);

    connect(&engine, &FirmwareUpdate::sendTask, this, &PageFC::AddTask);
    connect(&engine, &FirmwareUpdate::started, this, [this] {
        keepTime(true);
        emit boot_state_changed(true);
    });
    connect(&engine, &FirmwareUpdate::finished, this, [this] { emit boot_state_changed(false); });

    // The update runs on this timer whether the page is shown or not; idle it reads the
    // version, and its ticks may share a wake-up with the window's other timers.
    tick.setTimerType(Qt::CoarseTimer);
    connect(&tick, &QTimer::timeout, this, &PageFCFirmware::timeout);
    tick.start(FirmwareUpdate::kTickMs);

    loadStoredImage();
    buildIf(when);
}

void PageFCFirmware::build()
{
    ui->setupUi(this);
    setFixedSize(780, 310);
    // What the engine says is shown from here on; the file it holds already, at once. Its
    // version reads and progress come only with ticks of a page that is shown, or built.
    connect(&engine, &FirmwareUpdate::progress, this, &PageFCFirmware::showProgress);
    connect(&engine, &FirmwareUpdate::versionRead, this,
            [this](qint32 word) { ui->label_firmwareVersion->setText(Helper::boardName(word)); });
    if (engine.image().isLoaded())
        showFileLoaded();
    showContacts();
}

void PageFCFirmware::loadStoredImage()
{
    if (engine.loadImage(storedPath()) == FirmwareImage::Ok && isBuilt())
        showFileLoaded();
}

PageFCFirmware::~PageFCFirmware()
{
    delete ui;
}

QString PageFCFirmware::progressText(int state)
{
    return FirmwareUpdate::progressText(state);
}

void PageFCFirmware::showProgress(int state, int percent)
{
    ui->label_progress_info->setText(progressText(state));
    if (percent >= 0)
        ui->label_progress_value->setText(QString::number(percent) + QLatin1Char('%'));
}

void PageFCFirmware::showFileLoaded()
{
    ui->pushButton_loadFile->setText(Helper::boardName(engine.image().version));
}

void PageFCFirmware::on_pushButton_loadFile_clicked()
{
    // The image being written must not change under the running update.
    if (engine.isRunning())
        return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Bin File"), storedPath(),
                                                      tr("Bin File (*.bin)"));
    if (engine.loadImage(path) != FirmwareImage::Ok)
        return;
    QSettings().setValue(kPathKey, path);
    showFileLoaded();
}

void PageFCFirmware::on_pushButton_update_clicked()
{
    if (engine.isRunning() || preparing)
        return;
    // Say why nothing starts rather than ask a question that leads nowhere.
    if (!engine.linkOk()) {
        DialogWarning::tell(tr("No controller is answering, so the update cannot start. Connect it and wait "
                "until its firmware version is shown."));
        return;
    }
    // The image that is programmed is read fresh from disk.
    if (engine.loadImage(storedPath()) != FirmwareImage::Ok) {
        qDebug() << "bin file wrong";
        DialogWarning::tell(tr("No valid firmware file is loaded, so the update cannot start. Load a .bin file "
                "first."));
        return;
    }
    showFileLoaded();

    if (!confirmed(tr("During the update process,please DO NOT move the controller in case of "
                      "unexpeceted disconnect!")))
        return;
    // The dialog kept the event loop running: the link may have failed meanwhile.
    if (engine.isRunning() || !engine.linkOk())
        return;
    if (!boardQuestionsAccepted())
        return;
    if (keeper) {
        // The setup as it is before the update, in the history; the update starts whatever
        // becomes of the snapshot.
        preparing = true;
        waitFor([this](std::function<void()> done) {
            keeper->snapshotThen(QLatin1String(SetupHistory::kBeforeUpdate), this, done);
        });
        preparing = false;
        if (engine.isRunning())
            return;
    }
    engine.start();
}

bool PageFCFirmware::boardQuestionsAccepted()
{
    qint32 word = 0;
    engine.controllerWord(&word);
    switch (engine.boardMatch()) {
    case FirmwareUpdate::BoardMatch::Same:
        return confirmed(tr("The controller already runs this firmware (%1). Write it again?")
                             .arg(Helper::boardName(word)));
    case FirmwareUpdate::BoardMatch::OtherBoard:
        return confirmed(tr("This firmware is for %1, but the controller is %2. Another "
                            "board's firmware can make it unusable. Update anyway?")
                             .arg(Helper::boardName(engine.image().version), Helper::boardName(word)));
    case FirmwareUpdate::BoardMatch::Unknown:
    case FirmwareUpdate::BoardMatch::Fine:
        break;
    }
    return true;
}

void PageFCFirmware::timeout()
{
    engine.setVersionReads(isVisible());
    engine.tick();
    keepTime(engine.isRunning());
}

void PageFCFirmware::keepTime(bool updating)
{
    // While an update runs a block goes out on the first tick after its predecessor was
    // confirmed, so the tick must not drift: a coarse timer may fire 5 % late, which turns a
    // round trip that fits one tick into two. Idle, a coarse tick costs fewer wake-ups.
    const Qt::TimerType wanted = updating ? Qt::PreciseTimer : Qt::CoarseTimer;
    if (tick.timerType() == wanted)
        return;
    tick.setTimerType(wanted);
    // A timer takes its new type when started; one stopped (by a test ticking by hand) stays so.
    if (tick.isActive())
        tick.start();
}

void PageFCFirmware::TaskDone(FCProtocol::Task* task)
{
    // The history's reads say nothing about this page's link.
    if (keeper && keeper->owns(task))
        return;
    engine.taskDone(task);
}

void PageFCFirmware::mainLoop()
{
}

void PageFCFirmware::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    // Names the connected board before the first FW_INFO_RD reply.
    engine.setTelemetryWord(info.boardWord);
}

void PageFCFirmware::setContacts(const QString& website, const QString& email)
{
    this->website = website;
    this->email = email;
    if (isBuilt())
        showContacts();
}

void PageFCFirmware::showContacts()
{
    // The address as a pilot would type it: no scheme, no closing slash.
    const QUrl web(website);
    QString shown = web.host().isEmpty() ? website : web.host() + web.path();
    if (shown.endsWith(QLatin1Char('/')))
        shown.chop(1);
    ui->label_web->setText(website.isEmpty() ? QString() : link(website, shown));
    ui->label_email->setText(email.isEmpty() ? QString() : link(QStringLiteral("mailto:") + email, email));
    ui->label_web->setVisible(!website.isEmpty());
    ui->label_webCaption->setVisible(!website.isEmpty());
    ui->label_email->setVisible(!email.isEmpty());
    ui->label_emailCaption->setVisible(!email.isEmpty());
}
