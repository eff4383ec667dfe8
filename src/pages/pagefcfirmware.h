#pragma once

#include "pages/pagefc.h"

// The firmware page: updates the controller through its bootloader.
class PageFCFirmware : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCFirmware(QWidget* parent = nullptr);

signals:
    void boot_state_changed(bool start);

public slots:
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;
};
