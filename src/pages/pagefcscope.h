#pragma once

#include "engine/scoperecording.h"
#include "pages/pagefc.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QVector>

#include <functional>

#include <qcustomplot.h>

namespace Ui {
class PageFCScope;
}

// The developer scope: one graph per channel the controller names, sampled on every page tick
// against the time since the first sample, with dragging, zooming, renaming and export.
class PageFCScope : public PageFC
{
    Q_OBJECT

public:
    explicit PageFCScope(QWidget* parent = nullptr, Build when = Build::Now);
    ~PageFCScope() override;

    // The recording as CSV: a "time" column in seconds and one column per graph under its
    // current name; '.' decimal point, shortest digits that read back to the same number.
    // Written atomically; false if the file could not be written.
    bool writeCsv(const QString& fileName) const;
    // The plot as PNG at its size on screen, twice that on a high-DPI screen.
    bool writeImage(const QString& fileName);

    bool isPaused() const { return paused; }
    const QVector<double>& timeVector() const { return recording.timeVector(); }
    const ScopeRecording& currentRecording() const { return recording; }

public slots:
    void TaskDone(FCProtocol::Task* task) override;
    void mainLoop() override;
    void InfoRDDone(FCProtocol::DS_INFO_RD info) override;
    void horzScrollBarChanged(int value);
    void vertScrollBarChanged(int value);
    void xAxisChanged(QCPRange range);
    void yAxisChanged(QCPRange range);
    void selectionChanged();
    void mousePress();
    void mouseWheel();
    void titleDoubleClick(QMouseEvent* event, QCPTextElement* title);
    void axisLabelDoubleClick(QCPAxis* axis, QCPAxis::SelectablePart part);
    void legendDoubleClick(QCPLegend* legend, QCPAbstractLegendItem* item);
    void contextMenuRequest(QPoint pos);
    void moveLegend();
    void on_pushButton_clear_clicked();

    // Beside Clear: hold the view while recording goes on, and take the recording away.
    void togglePause();
    void exportCsv();
    void saveImage();

protected:
    void build() override;
    void showEvent(QShowEvent* event) override;
    // Milliseconds since the previous sample, counting again from now. A benchmark replays
    // an hour of samples through its own clock.
    virtual double restartSampleClock();

private:
    void takeNames(const QByteArray& payload);
    void takeSamples(const QByteArray& payload);
    // Fits the y axis to the value extent, so that it fills two thirds of the height.
    void showExtent();
    // Asks for a file name and writes it; a failed write is told.
    void saveAs(const QString& title, const QString& filter, const std::function<bool(const QString&)>& write);

    Ui::PageFCScope* ui;
    QCPTextElement* titleElement;
    QRandomGenerator random;

    ScopeRecording recording;
    QElapsedTimer elapsed;
    bool namesNeeded = true;
    double largest = 0.0;
    double smallest = 0.0;
    bool paused = false;
};
