#pragma once

#include "engine/setuprecord.h"
#include "pages/pagefc.h"
#include "protocol/dspara.h"

#include <QHash>
#include <QtNumeric>
#include <QString>

class QButtonGroup;
class QDoubleSpinBox;
class QSignalMapper;
class SetupActions;
class SetupKeeper;
class SetupWrite;

namespace Ui {
class PageFCPara;
}

// The parameter page: ESC range, dead band and protocol, flight limits, and the simple and
// expert gains. Every finished edit writes the whole record at once; what the controller
// answers is shown. A pilot can also keep the whole setup (parameters, radio, airframe) in a
// file and load it back, or bring back a snapshot of the automatic history.
class PageFCPara : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCPara(QWidget* parent = nullptr, Build when = Build::Now);
    ~PageFCPara() override;

    // The last record the controller sent, and whether one has arrived yet.
    FCProtocol::DS_PARA deviceRecord() const { return device; }
    bool hasDeviceRecord() const { return deviceRead; }

    // The board text written into a saved file (from the last telemetry record).
    QString boardText() const;

    // The automatic history; without it the page keeps no snapshot and shows no history.
    void setSetupKeeper(SetupKeeper* setupKeeper);
    // The write that brings a file or a snapshot onto the controller, read back and compared.
    const SetupWrite* verifiedWrite() const;

    // Reads the whole setup and writes it to `path` as a tuning file; the pilot sees a message
    // on failure. Returns true when the file was written whole.
    bool saveTuningFile(const QString& path);
    // Checks `path` whole; a good file is compared with the controller's setup, the values
    // that differ are shown to the pilot and, on OK, the sections that differ are written and
    // read back; the pilot sees the values that did not take. Returns true when something was
    // sent.
    bool loadTuningFile(const QString& path);
    // The history of the connected controller; true when a snapshot was sent.
    bool openHistory();

public slots:
    void paraTypeChanged(int id);
    void linkXYChanged(int id);
    void escTypeChanged(int id);
    void oneshot125Changed();
    void spinBoxesEditingFinished(QObject* box);
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;

protected:
    void build() override;

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
    // What setBox() last put into each box, and what the box made of it.
    struct Written {
        double value = qQNaN();
        double shown = qQNaN();
    };
    QHash<QDoubleSpinBox*, Written> written;
    FCProtocol::DS_INFO_RD telemetry;
    bool telemetryRead = false;
    SetupActions* actions;
};
