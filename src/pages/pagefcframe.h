#pragma once

#include "pages/pagefc.h"

class QButtonGroup;

namespace Ui {
class PageFCFrame;
}

// The airframe page: the motor layout from ten pictures, the controller's mounting
// orientation and the motor test.
class PageFCFrame : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCFrame(QWidget* parent = nullptr, Build when = Build::Now);
    ~PageFCFrame() override;

    static constexpr int kAirframeCount = 10;

public slots:
    void frameSelected(int n);
    void mountingSelected(int n);

private slots:
    void on_pushButton_motorTest_clicked();

public slots:
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;

protected:
    void build() override;

private:
    // Airframe and mounting are one setting on the controller and always written together.
    void writeFrame();

    Ui::PageFCFrame* ui;
    QButtonGroup* frameGroup;
    QButtonGroup* mountingGroup;

    qint8 replyCode = 0;
    qint8 airframe = 0;
    qint8 mounting = 0;
    bool motorTestWarningPending = true;
};
