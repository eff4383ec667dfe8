#pragma once

#include "pages/pagefc.h"

// The radio page: channel bars, sticks, switches, reversal and calibration.
class PageFCRc : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCRc(QWidget* parent = nullptr);

public slots:
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;
    void HideEmuNoNeedUi();
    void HideMiniNoNeedUi();
};
