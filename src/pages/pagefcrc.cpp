#include "pages/pagefcrc.h"

#include "pages/dialogrcfuncsw.h"
#include "widgets/fittext.h"
#include "pages/fcrcuimanager.h"
#include "protocol/helper.h"
#include "protocol/replydecode.h"
#include "protocol/requests.h"
#include "ui_pagefcrc.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDebug>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QProgressBar>
#include <QRegion>

namespace {

// Dot positions at centre stick, top-left corners in frame_rcDot.
constexpr int kLeftBaseX = 88;
constexpr int kLeftBaseY = 143;
constexpr int kRightBaseX = 273;
constexpr int kRightBaseY = 143;
// A full stick deflection moves a dot this far.
constexpr int kDotTravel = 56;

// What a new value changes on a bar whose range stays: the strip between the old and the new
// end of the chunk, and the value written across the middle, old and new. The numbers at the
// ends lie over the bar, so a bar repainted whole repaints them too.
QRegion valueChange(const QProgressBar* bar, int before, int after)
{
    const int span = qMax(1, bar->maximum() - bar->minimum());
    const auto chunkEnd = [&](int value) {
        return int(qint64(value - bar->minimum()) * bar->width() / span);
    };
    const QFontMetrics metrics = bar->fontMetrics();
    const auto text = [&](int value) {
        // Character by character from the font's cache: shaping the number would cost as much
        // as the repaint it narrows.
        int width = 0;
        for (const QChar c : QString::number(value))
            width += metrics.horizontalAdvance(c);
        return QRect((bar->width() - width) / 2, 0, width, bar->height()).adjusted(-3, 0, 3, 0);
    };
    const int from = qMin(chunkEnd(before), chunkEnd(after));
    const int to = qMax(chunkEnd(before), chunkEnd(after));
    return QRegion(QRect(from - 2, 0, to - from + 4, bar->height())) + text(before) + text(after);
}

// Shows a channel on its bar, touching the bar only if something differs. A progress bar
// repaints whole at once, on every setRange() or setValue() that changes its picture; held
// back here, the bar is drawn once, at the next paint, and a new value alone repaints only
// what it changed.
void showOnBar(QProgressBar* bar, bool enabled, int minimum, int maximum, int value)
{
    const bool sameRange =
        bar->isEnabled() == enabled && bar->minimum() == minimum && bar->maximum() == maximum;
    if (sameRange && bar->value() == value)
        return;
    const int before = bar->value();
    // The bar has no children: the attribute alone is what setUpdatesEnabled() would set.
    bar->setAttribute(Qt::WA_UpdatesDisabled, true);
    bar->setEnabled(enabled);
    bar->setRange(minimum, maximum);
    bar->setValue(value);
    bar->setAttribute(Qt::WA_UpdatesDisabled, false);
    if (sameRange && enabled)
        bar->update(valueChange(bar, before, value));
    else
        bar->update();
}

// QLabel::clear() repaints even an empty label, and the window then draws the rows around it
// again too; a label is touched only when its text differs.
void showNumber(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

} // namespace

PageFCRc::PageFCRc(QWidget* parent, Build when)
    : PageFC(parent)
    , ui(new Ui::PageFCRc)
    , rows(new FCRcUIManager(this))
    , switchGroup(new QButtonGroup(this))
    , modeGroup(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("pageFCRc"));
    buildIf(when);
}

void PageFCRc::build()
{
    ui->setupUi(this);
    dot.load(QStringLiteral(":/GUI/rcDot.png"));

    rows->addRow(ui->label_rcMin0, ui->progressBar_rc0, ui->label_rcMax0, ui->checkBox_rcRev0);
    rows->addRow(ui->label_rcMin1, ui->progressBar_rc1, ui->label_rcMax1, ui->checkBox_rcRev1);
    rows->addRow(ui->label_rcMin2, ui->progressBar_rc2, ui->label_rcMax2, ui->checkBox_rcRev2);
    rows->addRow(ui->label_rcMin3, ui->progressBar_rc3, ui->label_rcMax3, ui->checkBox_rcRev3);
    rows->addRow(ui->label_rcMin4, ui->progressBar_rc4, ui->label_rcMax4, ui->checkBox_rcRev4);
    rows->addRow(ui->label_rcMin5, ui->progressBar_rc5, ui->label_rcMax5, ui->checkBox_rcRev5);

    // Not exclusive: the page alone decides which position stays highlighted.
    switchGroup->setExclusive(false);
    switchGroup->addButton(ui->pushButton_rcSwitch11, 0);
    switchGroup->addButton(ui->pushButton_rcSwitch12, 1);
    switchGroup->addButton(ui->pushButton_rcSwitch13, 2);

    modeGroup->setExclusive(true);
    modeGroup->addButton(ui->radioButton_2D, 0);
    modeGroup->addButton(ui->radioButton_3D, 1);
    modeGroup->addButton(ui->radioButton_easy, 2);

    ui->label_rcSwitch21->setText(FCProtocol::Helper::lockStateName(0));
    ui->label_rcSwitch22->setText(FCProtocol::Helper::lockStateName(1));

    ui->frame_rcDot->installEventFilter(this);

    connect(rows, &FCRcUIManager::checkBoxStateChanged, this, &PageFCRc::checkBoxStateChanged);
    connect(switchGroup, &QButtonGroup::idClicked, this, &PageFCRc::RcFuncSwitch_clicked);
    connect(modeGroup, &QButtonGroup::idClicked, this, &PageFCRc::modeButton_clicked);
}

PageFCRc::~PageFCRc()
{
    delete ui;
}

QPoint PageFCRc::leftDotPosition() const
{
    return QPoint(kLeftBaseX + leftX, kLeftBaseY + leftY);
}

QPoint PageFCRc::rightDotPosition() const
{
    return QPoint(kRightBaseX + rightX, kRightBaseY + rightY);
}

void PageFCRc::checkBoxStateChanged()
{
    qDebug() << "check box changed!";
    for (int i = 0; i < rows->count(); ++i)
        pending.setReversed(i, rows->row(i).reverseBox->isChecked());
    writeRc();
}

void PageFCRc::on_pushButton_rcCali_clicked()
{
    if (!calibrating) {
        if (!confirmed(tr("Operating instruction： turn all channel sticks,make sure all of them "
                          "move from the minimum position to the maximum position,and then click "
                          "\"Complete\" after completed. operate now?")))
            return;
        calibrating = true;
        ui->pushButton_rcCali->setText(tr("Complete"));
        emit AddTask(FCProtocol::Request::rcCalibration(FCProtocol::kCommandStart));
    } else {
        if (!confirmed(tr("Please middle the THROTTLE and click \"OK\" bellow to complete the "
                          "calibration.")))
            return;
        calibrating = false;
        ui->pushButton_rcCali->setText(tr("Calibration"));
        emit AddTask(FCProtocol::Request::rcCalibration(FCProtocol::kCommandFinish));
    }
}

void PageFCRc::RcFuncSwitch_clicked(int i)
{
    // Keep the clicked position highlighted while its popup is open.
    for (int id = 0; id < 3; ++id)
        switchGroup->button(id)->setChecked(id == i);

    DialogRCFuncSw dialog(i);
    dialog.move(ui->progressBar_rc4->mapToGlobal(QPoint(0, ui->progressBar_rc4->height())));
    // The headfree attitude mode exists only on some boards; before any telemetry the
    // board word is 0 and the option stays off.
    if (!FCProtocol::Helper::isRcBoard(telemetry.boardWord))
        dialog.buttonGroup()->button(5)->setEnabled(false);

    if (dialog.exec() == QDialog::Accepted && dialog.chosenOption() >= 0 && i >= 0 && i < 3) {
        pending.positionModes[i] = qint8(dialog.chosenOption());
        writeRc();
    }

    for (int id = 0; id < 3; ++id)
        switchGroup->button(id)->setChecked(false);
}

void PageFCRc::modeButton_clicked(int i)
{
    pending.modeButton = qint8(i);
    writeRc();
}

void PageFCRc::TaskDone(FCProtocol::Task* task)
{
    if (task->status != 0)
        return;
    task->rxStream.device()->seek(task->headLength);

    switch (task->type) {
    case FCProtocol::RC_RD:
        if (!readRcRd(task))
            return;
        updateChannelRows();
        updateRcType();
        updateReverseBoxes();
        updateStickDots();
        break;
    case FCProtocol::RC_WR:
        if (!readRcWr(task))
            return;
        updateReverseBoxes();
        break;
    default:
        return;
    }
    // Each widget repaints what changed on it; nothing else on the page needs drawing.
    updateSwitchTexts();
}

void PageFCRc::mainLoop()
{
    if (isVisible())
        emit AddTask(FCProtocol::Request::rcRead());
}

void PageFCRc::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    telemetry = info;
}

void PageFCRc::HideEmuNoNeedUi()
{
    ensureBuilt();
    ui->frame_mode_button->hide();
}

void PageFCRc::HideMiniNoNeedUi()
{
    ensureBuilt();
    ui->frame_mode_button->hide();
}

bool PageFCRc::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->frame_rcDot && event->type() == QEvent::Paint) {
        QPainter painter(ui->frame_rcDot);
        painter.drawPixmap(leftDotPosition(), dot);
        painter.drawPixmap(rightDotPosition(), dot);
        return true;
    }
    return PageFC::eventFilter(watched, event);
}

// Reads a whole RC_RD reply; a reply cut short leaves the page's state untouched rather
// than filling the missing fields with zeros.
bool PageFCRc::readRcRd(FCProtocol::Task* task)
{
    if (!FCProtocol::ReplyDecode::decodeRcRead(task->rxData.mid(task->headLength), &radio))
        return false;

    pending = RadioSetup::fromRead(radio);
    return true;
}

bool PageFCRc::readRcWr(FCProtocol::Task* task)
{
    FCProtocol::ReplyDecode::RcWriteRecord echo;
    if (!FCProtocol::ReplyDecode::decodeRcWrite(task->rxData.mid(task->headLength), &echo))
        return false;

    pending = RadioSetup::fromWrite(echo);
    radio.channelWord = echo.channelWord;
    for (int p = 0; p < 3; ++p)
        radio.positionModes[p] = echo.positionModes[p];
    radio.modeButton = echo.modeButton;
    return true;
}

void PageFCRc::updateChannelRows()
{
    for (int i = 0; i < rows->count(); ++i) {
        const FCRcUIManager::Row& row = rows->row(i);
        const Channel& c = radio.channels[i];
        if (radio.channelWord & (1 << i)) {
            showNumber(row.minLabel, QString());
            showNumber(row.maxLabel, QString());
            showOnBar(row.bar, false, 0, 10, 0);
            continue;
        }
        // Rows 4 and 5 carry the switch displays over their bars: no numbers there.
        showNumber(row.minLabel, i < 4 ? QString::number(int(c.min)) : QString());
        showNumber(row.maxLabel, i < 4 ? QString::number(int(c.max)) : QString());
        // qBound, not std::clamp: a range reported upside down must not be undefined.
        showOnBar(row.bar, true, c.min, c.max, qBound(int(c.min), int(c.centre) + int(c.offset), int(c.max)));
    }
    updateSwitchDisplays();
}

void PageFCRc::updateSwitchDisplays()
{
    QRadioButton* const switchA[] = {ui->radioButton_rcSwitch11, ui->radioButton_rcSwitch12,
                                     ui->radioButton_rcSwitch13};
    for (int p = 0; p < 3; ++p)
        switchA[p]->setChecked(radio.switchA == p + 1);
    ui->radioButton_rcSwitch21->setChecked(radio.switchB == 1);
    ui->radioButton_rcSwitch22->setChecked(radio.switchB == 3);

    if (QAbstractButton* button = modeGroup->button(radio.modeButton))
        button->setChecked(true);
}

void PageFCRc::updateRcType()
{
    if (radio.recognition == 1 || radio.recognition == 2)
        ui->label_rcType->setText(tr("Recognizing..."));
    else
        ui->label_rcType->setText(FCProtocol::Helper::rcTypeName((radio.channelWord >> 17) & 0x7));
}

void PageFCRc::updateReverseBoxes()
{
    for (int i = 0; i < rows->count(); ++i) {
        QCheckBox* box = rows->row(i).reverseBox;
        const QSignalBlocker blocker(box);
        box->setChecked(radio.channelWord & (1 << (8 + i)));
    }
}

void PageFCRc::updateStickDots()
{
    int half[4];
    for (int c = 0; c < 4; ++c) {
        // C++ integer division truncates toward zero, as the controller's does.
        half[c] = (int(radio.channels[c].max) - int(radio.channels[c].min)) / 2;
        if (half[c] <= 0)
            return;
    }
    const QPoint leftBefore = leftDotPosition();
    const QPoint rightBefore = rightDotPosition();
    leftX = radio.channels[3].offset * kDotTravel / half[3];
    leftY = -(radio.channels[2].offset * kDotTravel / half[2]);
    rightX = radio.channels[0].offset * kDotTravel / half[0];
    rightY = -(radio.channels[1].offset * kDotTravel / half[1]);

    // A dot that moved is drawn again where it was and where it is; the rest of the sticks'
    // picture stays as it is.
    const QSize dotSize = (QSizeF(dot.size()) / dot.devicePixelRatioF()).toSize() + QSize(1, 1);
    QRegion changed;
    if (leftDotPosition() != leftBefore)
        changed += QRect(leftBefore, dotSize).united(QRect(leftDotPosition(), dotSize));
    if (rightDotPosition() != rightBefore)
        changed += QRect(rightBefore, dotSize).united(QRect(rightDotPosition(), dotSize));
    if (!changed.isEmpty())
        ui->frame_rcDot->update(changed);
}

void PageFCRc::updateSwitchTexts()
{
    for (int p = 0; p < 3; ++p) {
        QAbstractButton* button = switchGroup->button(p);
        FitText::setCondensed(button, FCProtocol::Helper::flyModeName(radio.positionModes[p]));
        const QString tip = FCProtocol::Helper::flyModeTip(radio.positionModes[p]);
        if (button->toolTip() != tip)
            button->setToolTip(tip);
    }
}

void PageFCRc::writeRc()
{
    // The controller's own bits of the channel word go back as it sent them.
    emit AddTask(FCProtocol::Request::rcWrite(pending.writeOver(radio.channelWord)));
}
