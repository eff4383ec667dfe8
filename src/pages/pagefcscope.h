#pragma once

#include "pages/pagefc.h"

// The developer scope: plots the values the controller publishes.
class PageFCScope : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCScope(QWidget* parent = nullptr);

public slots:
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;
};
