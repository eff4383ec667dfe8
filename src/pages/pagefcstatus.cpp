#include "pages/pagefcstatus.h"

#include "protocol/helper.h"
#include "protocol/replydecode.h"
#include "protocol/requests.h"
#include "ui_pagefcstatus.h"

#include <QEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>

namespace {

// Rotation centres of both views and the offsets that put each image's centre on them.
constexpr int kCompassCentreX = 130;
constexpr int kCompassCentreY = 130;
constexpr int kCompassImageOffsetX = 20;
constexpr int kCompassImageOffsetY = 81;
constexpr int kAttitudeCentreX = 130;
constexpr int kAttitudeCentreY = 130;
constexpr int kHorizonImageOffsetX = 77;
constexpr int kHorizonImageOffsetY = 12;

} // namespace

PageFCStatus::PageFCStatus(QWidget* parent, Build when)
    : PageFC(parent)
    , ui(new Ui::PageFCStatus)
{
    setObjectName(QStringLiteral("pageFCStatus"));
    setFixedSize(780, 310);
    buildIf(when);
}

void PageFCStatus::build()
{
    ui->setupUi(this);
    setFixedSize(780, 310);
    compassImage.load(QStringLiteral(":/GUI/compass1.png"));
    horizonImage.load(QStringLiteral(":/GUI/attview.png"));
    horizonMask = QBitmap(QStringLiteral(":/GUI/attview-mask.png"));

    // Both images are drawn rotated 20 times a second: kept in the format the painter blends
    // from, they are not converted on every draw. The clip of the dial is made once.
    compassImage = compassImage.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    horizonImage = horizonImage.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    horizonClip = QRegion(horizonMask);

    ui->frame_compass->installEventFilter(this);
    ui->frame_attitude->installEventFilter(this);
}

PageFCStatus::~PageFCStatus()
{
    delete ui;
}

QTransform PageFCStatus::compassTransform(float yaw)
{
    QTransform transform;
    transform.translate(kCompassCentreX, kCompassCentreY);
    transform.rotate(90.0 - yaw * kRadToDeg);
    return transform;
}

float PageFCStatus::horizonShift(float pitch)
{
    return float(pitch * kRadToDeg * kPixelsPerDegree);
}

QTransform PageFCStatus::attitudeTransform(float roll, float pitch)
{
    QTransform transform;
    transform.translate(kAttitudeCentreX, kAttitudeCentreY);
    transform.rotate(roll * kRadToDeg);
    transform.translate(0, horizonShift(pitch));
    return transform;
}

bool PageFCStatus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        // While the skin beneath a gauge is being taken, the gauge shows nothing.
        if (takingBackdrop && (watched == ui->frame_compass || watched == ui->frame_attitude))
            return true;
        if (watched == ui->frame_compass) {
            paintCompass();
            return true; // the needle is all the compass frame shows
        }
        if (watched == ui->frame_attitude) {
            paintAttitude();
            return false; // the frame still draws its own border over the horizon
        }
    }
    return PageFC::eventFilter(watched, event);
}

void PageFCStatus::paintBackdrop(QWidget* gauge, QPainter* painter, const QPixmap& picture)
{
    // Once the skin beneath a gauge is kept as a picture, the gauge paints every pixel of its
    // frame itself, so a moving needle repaints neither the page nor the window behind it.
    // Until then (and while it is taken again for another screen) the window draws the skin.
    if (!picture.isNull())
        painter->drawPixmap(0, 0, picture);
    const qreal ratio = gauge->devicePixelRatioF();
    if ((picture.isNull() || picture.devicePixelRatioF() != ratio) && !backdropPending) {
        backdropPending = true;
        QTimer::singleShot(0, this, &PageFCStatus::takeBackdrops);
    }
}

void PageFCStatus::takeBackdrops()
{
    backdropPending = false;
    const struct {
        QWidget* gauge;
        QPixmap* picture;
    } gauges[] = {{ui->frame_compass, &compassBackdrop}, {ui->frame_attitude, &attitudeBackdrop}};
    for (const auto& g : gauges) {
        if (!g.gauge->isVisible())
            continue;
        // What the window shows beneath the gauge: its background and the page's, at the
        // screen's pixel ratio.
        const qreal ratio = g.gauge->devicePixelRatioF();
        // The window is opaque there: a picture without alpha is copied, not blended.
        QPixmap picture(g.gauge->size() * ratio);
        picture.setDevicePixelRatio(ratio);
        picture.fill(g.gauge->window()->palette().color(QPalette::Window));
        QWidget* top = g.gauge->window();
        takingBackdrop = true;
        g.gauge->setAttribute(Qt::WA_OpaquePaintEvent, false);
        top->render(&picture, QPoint(), QRegion(QRect(g.gauge->mapTo(top, QPoint()), g.gauge->size())),
                    QWidget::DrawWindowBackground | QWidget::DrawChildren);
        takingBackdrop = false;
        *g.picture = picture;
        g.gauge->setAttribute(Qt::WA_OpaquePaintEvent, true);
    }
}

namespace {

// Where `image` lands under `transform` when drawn at `offset`, with a pixel to spare for the
// antialiased edges.
QRect drawnArea(const QTransform& transform, QPointF offset, const QImage& image)
{
    const QRectF source(offset, QSizeF(image.size()) / image.devicePixelRatioF());
    return transform.mapRect(source).toAlignedRect().adjusted(-2, -2, 2, 2);
}

} // namespace

QRect PageFCStatus::needleArea(float heading) const
{
    return drawnArea(compassTransform(heading), QPointF(-kCompassImageOffsetX, -kCompassImageOffsetY),
                     compassImage);
}

QRect PageFCStatus::barArea(float rollAngle, float pitchAngle) const
{
    return drawnArea(attitudeTransform(rollAngle, pitchAngle),
                     QPointF(-kHorizonImageOffsetX, -kHorizonImageOffsetY), horizonImage);
}

void PageFCStatus::paintCompass()
{
    QPainter painter(ui->frame_compass);
    paintBackdrop(ui->frame_compass, &painter, compassBackdrop);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(compassTransform(yaw));
    painter.drawImage(-kCompassImageOffsetX, -kCompassImageOffsetY, compassImage);
}

void PageFCStatus::paintAttitude()
{
    QPainter painter(ui->frame_attitude);
    paintBackdrop(ui->frame_attitude, &painter, attitudeBackdrop);
    painter.setRenderHint(QPainter::Antialiasing);
    // The mask keeps the bar inside the round dial whatever the pitch and roll.
    painter.setClipRegion(horizonClip, Qt::ReplaceClip);
    painter.setTransform(attitudeTransform(roll, pitch));
    painter.drawImage(-kHorizonImageOffsetX, -kHorizonImageOffsetY, horizonImage);
}

void PageFCStatus::TaskDone(FCProtocol::Task* task)
{
    if (task->status != FCProtocol::Task::Success)
        return;
    task->rxStream.device()->seek(task->headLength);
    if (task->type != FCProtocol::STATUS_RD)
        return;

    FCProtocol::ReplyDecode::StatusRecord record;
    // A reply too short for the record would read as zeros; keep the last good values.
    if (!FCProtocol::ReplyDecode::decodeStatus(task->rxData.mid(task->headLength), &record))
        return;

    // Only what moved is drawn again: of each gauge the area its needle or bar left and
    // entered, when its angles changed; each label when its text did (a label ignores a text
    // equal to its own).
    if (record.yaw != yaw)
        ui->frame_compass->update(needleArea(yaw) | needleArea(record.yaw));
    if (record.roll != roll || record.pitch != pitch)
        ui->frame_attitude->update(barArea(roll, pitch) | barArea(record.roll, record.pitch));

    q0 = record.q0;
    q1 = record.q1;
    q2 = record.q2;
    q3 = record.q3;
    pitch = record.pitch;
    roll = record.roll;
    yaw = record.yaw;
    flyMode = record.flyMode;
    lockState = record.lockState;

    ui->label_pitch->setText(QString::number(pitch * kRadToDeg, 'f', 1));
    ui->label_roll->setText(QString::number(roll * kRadToDeg, 'f', 1));
    ui->label_flymode->setText(FCProtocol::Helper::flyModeName(flyMode));
    ui->label_lock->setText(FCProtocol::Helper::lockStateName(lockState));
}

void PageFCStatus::mainLoop()
{
    if (isVisible())
        emit AddTask(FCProtocol::Request::statusRead());
}

void PageFCStatus::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    Q_UNUSED(info);
}

void PageFCStatus::on_pushButton_HorizonCali_clicked()
{
    if (confirmed(tr("Please level the multicopter, and then click \"OK\"")))
        emit AddTask(FCProtocol::Request::horizonCalibration());
}

void PageFCStatus::on_pushButton_motorTest_clicked()
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
