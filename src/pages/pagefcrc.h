#pragma once

#include "engine/setuprecord.h"
#include "pages/pagefc.h"
#include "protocol/replydecode.h"

#include <QPixmap>
#include <QPoint>

class FCRcUIManager;
class QButtonGroup;

namespace Ui {
class PageFCRc;
}

// The radio page: channel bars, sticks, switches, reversal and calibration.
class PageFCRc : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCRc(QWidget* parent = nullptr, Build when = Build::Now);
    ~PageFCRc() override;

    // Top-left corners at which the stick dots are drawn in frame_rcDot.
    QPoint leftDotPosition() const;
    QPoint rightDotPosition() const;

public slots:
    void checkBoxStateChanged();
    void on_pushButton_rcCali_clicked();
    void RcFuncSwitch_clicked(int i);
    void modeButton_clicked(int i);
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;
    void HideEmuNoNeedUi();
    void HideMiniNoNeedUi();

protected:
    void build() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kChannels = 8;
    static constexpr int kRows = 6;

    using Channel = FCProtocol::ReplyDecode::RcChannel;
    // The radio as the controller last reported it.
    using RadioState = FCProtocol::ReplyDecode::RcRecord;
    // What every RC_WR carries, whole: the controller's values with the user's changes.

    bool readRcRd(FCProtocol::Task* task);
    bool readRcWr(FCProtocol::Task* task);
    void updateChannelRows();
    void updateSwitchDisplays();
    void updateRcType();
    void updateReverseBoxes();
    void updateStickDots();
    void updateSwitchTexts();
    void writeRc();

    Ui::PageFCRc* ui;
    FCRcUIManager* rows;
    QButtonGroup* switchGroup;
    QButtonGroup* modeGroup;

    RadioState radio;
    // The pilot's choices, to be written (the controller's own bits of the word as last read).
    RadioSetup pending;
    bool calibrating = false;
    QPixmap dot;
    // Offsets of the left and right dots from their bases, in pixels.
    int leftX = 0;
    int leftY = 0;
    int rightX = 0;
    int rightY = 0;
    FCProtocol::DS_INFO_RD telemetry;
};
