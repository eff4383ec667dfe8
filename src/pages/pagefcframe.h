#pragma once

#include "pages/pagefc.h"

// The airframe page: motor layout, mounting and motor test.
class PageFCFrame : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCFrame(QWidget* parent = nullptr);

public slots:
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;
};
