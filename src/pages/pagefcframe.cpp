#include "pages/pagefcframe.h"

#include "protocol/replydecode.h"
#include "protocol/requests.h"
#include "ui_pagefcframe.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDebug>
#include <QRegion>

namespace {

constexpr QSize kMotorTestImageSize(88, 27);

} // namespace

PageFCFrame::PageFCFrame(QWidget* parent, Build when)
    : PageFC(parent)
    , ui(new Ui::PageFCFrame)
    , frameGroup(new QButtonGroup(this))
    , mountingGroup(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("pageFCFrame"));
    setFixedSize(780, 310);
    buildIf(when);
}

void PageFCFrame::build()
{
    ui->setupUi(this);
    setFixedSize(780, 310);
    ui->stackedWidget->setCurrentIndex(0);

    // The button id is the airframe code the controller uses.
    for (int n = 0; n < kAirframeCount; ++n) {
        auto* button = ui->frame_rcFrame->findChild<QAbstractButton*>(QStringLiteral("radioButton_%1").arg(n));
        if (!button) {
            qDebug() << "PageFCFrame fault: add button!";
            continue;
        }
        frameGroup->addButton(button, n);
    }
    // The motor-test image keeps its own size, centred in the wide strip under the pictures;
    // only the image takes clicks, so a click beside it cannot start the motors.
    QRect motorTestArea(QPoint(0, 0), kMotorTestImageSize);
    motorTestArea.moveCenter(ui->pushButton_motorTest->rect().center());
    ui->pushButton_motorTest->setMask(QRegion(motorTestArea));

    mountingGroup->addButton(ui->radioButton_normal, 0);
    mountingGroup->addButton(ui->radioButton_invert, 1);

    // idClicked is buttonClicked(int) under its current name: only a user's click emits it,
    // never a setChecked() from a reply.
    connect(frameGroup, &QButtonGroup::idClicked, this, &PageFCFrame::frameSelected);
    connect(mountingGroup, &QButtonGroup::idClicked, this, &PageFCFrame::mountingSelected);
}

PageFCFrame::~PageFCFrame()
{
    delete ui;
}

void PageFCFrame::frameSelected(int n)
{
    airframe = qint8(n);
    writeFrame();
}

void PageFCFrame::mountingSelected(int n)
{
    mounting = qint8(n);
    writeFrame();
}

void PageFCFrame::writeFrame()
{
    emit AddTask(FCProtocol::Request::frameWrite(airframe, mounting));
}

void PageFCFrame::on_pushButton_motorTest_clicked()
{
    if (motorTestWarningPending) {
        if (!confirmed(tr("During the motor test,please remove all propellers in case of unexpected danger! "
                          "Please make sure the order and rotation of motors are the same as the picture "
                          "shown in the software.")))
            return;
        motorTestWarningPending = false;
    }
    emit AddTask(FCProtocol::Request::motorTest());
}

void PageFCFrame::TaskDone(FCProtocol::Task* task)
{
    if (task->status != FCProtocol::Task::Success)
        return;
    task->rxStream.device()->seek(task->headLength);
    if (task->type != FCProtocol::FRAME_RW)
        return;

    FCProtocol::ReplyDecode::FrameRecord record;
    // A reply too short for the three bytes would read as zeros; keep what we have.
    if (!FCProtocol::ReplyDecode::decodeFrame(task->rxData.mid(task->headLength), &record))
        return;

    replyCode = record.replyCode;
    airframe = record.airframe;
    mounting = record.mounting;

    // setChecked() does not emit idClicked, so showing the controller's choice never writes.
    // Codes without a button (above 9) leave the current check as it is.
    if (QAbstractButton* button = frameGroup->button(quint8(airframe)))
        button->setChecked(true);
}

void PageFCFrame::mainLoop()
{
    if (!isVisible())
        return;
    emit AddTask(FCProtocol::Request::frameRead());
}

void PageFCFrame::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    Q_UNUSED(info);
}
