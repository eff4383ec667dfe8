#pragma once

#include "pages/pagefc.h"

// The parameter page: ESC range, limits and gains.
class PageFCPara : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCPara(QWidget* parent = nullptr);

public slots:
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;
};
