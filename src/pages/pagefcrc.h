#pragma once

#include "pages/pagefc.h"

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
    explicit PageFCRc(QWidget* parent = nullptr);
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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kChannels = 8;
    static constexpr int kRows = 6;

    struct Channel {
        qint16 min = 0;
        qint16 max = 0;
        qint16 centre = 0;
        qint16 fourth = 0;
        qint16 offset = 0;
    };

    // The radio as the controller last reported it.
    struct RadioState {
        qint8 recognition = 0;
        qint32 channelWord = 0;
        Channel channels[kChannels];
        qint8 switchA = 0;
        qint8 switchB = 0;
        qint8 positionModes[3] = {0, 0, 0};
        qint8 spare = 0;
        qint8 modeButton = 0;
    };

    // What every RC_WR carries, whole: the controller's values with the user's changes.
    struct WriteSet {
        qint32 channelWord = 0;
        qint8 positionModes[3] = {0, 0, 0};
        qint8 modeButton = 0;
    };

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
    WriteSet pending;
    bool calibrating = false;
    QPixmap dot;
    // Offsets of the left and right dots from their bases, in pixels.
    int leftX = 0;
    int leftY = 0;
    int rightX = 0;
    int rightY = 0;
    FCProtocol::DS_INFO_RD telemetry;
};
