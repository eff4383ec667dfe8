#pragma once

#include "pages/pagefc.h"
#include "protocol/dspara.h"

class QButtonGroup;
class QDoubleSpinBox;
class QSignalMapper;

namespace Ui {
class PageFCPara;
}

// The parameter page: ESC range, dead band and protocol, flight limits, and the simple and
// expert gains. Every finished edit writes the whole record at once; what the controller
// answers is shown.
class PageFCPara : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCPara(QWidget* parent = nullptr);
    ~PageFCPara() override;

    // The last record the controller sent, and whether one has arrived yet.
    FCProtocol::DS_PARA deviceRecord() const { return device; }
    bool hasDeviceRecord() const { return deviceRead; }

public slots:
    void paraTypeChanged(int id);
    void linkXYChanged(int id);
    void escTypeChanged(int id);
    void oneshot125Changed();
    void spinBoxesEditingFinished(QObject* box);
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;

private:
    void sendEdit();
    void refresh(bool forced);
    void setBox(QDoubleSpinBox* box, double value, bool forced);

    Ui::PageFCPara* ui;
    QButtonGroup* tabGroup;
    QButtonGroup* gainGroup;
    QButtonGroup* linkGroup;
    QButtonGroup* escGroup;
    QSignalMapper* spinBoxMapper;

    FCProtocol::DS_PARA device;
    FCProtocol::DS_PARA edit;
    bool deviceRead = false;
    quint8 appliedGainMode = 255;
};
