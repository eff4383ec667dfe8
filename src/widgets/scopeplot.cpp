#include "widgets/scopeplot.h"

#include <QScrollBar>
#include <QSignalBlocker>

#include <qcustomplot.h>

namespace ScopePlot {

int scrollUnits(double axisValue)
{
    constexpr double kScrollLimit = 1e9;
    return qRound(qBound(-kScrollLimit, axisValue * kScrollFactor, kScrollLimit));
}

void setScroll(QScrollBar* bar, int low, int high, int value, int pageStep)
{
    const QSignalBlocker blocker(bar);
    bar->setRange(qMin(qMin(low, high), value), qMax(qMax(low, high), value));
    bar->setPageStep(qMax(1, pageStep));
    bar->setValue(value);
}

namespace {

// The main window's skin: text rgb(80, 80, 80), muted lines and hairlines, one accent colour for
// what is selected, a white panel.
const QColor kText(80, 80, 80);
const QColor kMuted(132, 138, 145);
const QColor kHairline(214, 219, 225);
const QColor kLine(190, 197, 205);
const QColor kAccent(22, 136, 216);

void skin(QCustomPlot* plot, QCPTextElement* title)
{
    plot->setBackground(Qt::white);
    plot->axisRect()->setBackground(Qt::white);
    title->setTextColor(kText);
    title->setSelectedTextColor(kAccent);
    for (QCPAxis* axis : plot->axisRect()->axes()) {
        axis->setBasePen(QPen(kLine, 1));
        axis->setTickPen(QPen(kLine, 1));
        axis->setSubTickPen(QPen(kHairline, 1));
        axis->setTickLabelColor(kMuted);
        axis->setLabelColor(kText);
        axis->setSelectedBasePen(QPen(kAccent, 2));
        axis->setSelectedTickPen(QPen(kAccent, 2));
        axis->setSelectedSubTickPen(QPen(kAccent, 1));
        axis->setSelectedTickLabelColor(kAccent);
        axis->setSelectedLabelColor(kAccent);
        axis->grid()->setPen(QPen(kHairline, 1, Qt::SolidLine));
        axis->grid()->setZeroLinePen(QPen(kLine, 1, Qt::SolidLine));
    }
    plot->legend->setBrush(QColor(255, 255, 255, 230));
    plot->legend->setBorderPen(QPen(kHairline, 1));
    plot->legend->setTextColor(kText);
    plot->legend->setSelectedTextColor(kAccent);
    plot->legend->setSelectedIconBorderPen(QPen(kAccent, 1));
}

} // namespace

QCPTextElement* setUp(QCustomPlot* plot, const QString& title, const QString& xLabel, const QString& yLabel)
{
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectAxes | QCP::iSelectLegend
                          | QCP::iSelectPlottables);
    plot->axisRect()->setupFullAxesBox(false);
    QObject::connect(plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), plot->xAxis2,
                     qOverload<const QCPRange&>(&QCPAxis::setRange));
    QObject::connect(plot->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), plot->yAxis2,
                     qOverload<const QCPRange&>(&QCPAxis::setRange));

    plot->plotLayout()->insertRow(0);
    QFont titleFont = plot->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    auto* titleElement = new QCPTextElement(plot, title, titleFont);
    plot->plotLayout()->addElement(0, 0, titleElement);
    // The graphs get a paint buffer of their own: a new sample redraws them alone, over the
    // grid and under the axes, legend and title as they were (the title, made on the graphs'
    // layer, leaves it for the axes' one; it lies outside the axis rect).
    plot->layer(QStringLiteral("main"))->setMode(QCPLayer::lmBuffered);
    // No selection rectangle is drawn on the overlay: it shares the buffer below instead of
    // being blended over the plot, empty, on every paint.
    plot->layer(QStringLiteral("overlay"))->setMode(QCPLayer::lmLogical);
    titleElement->setLayer(QStringLiteral("axes"));

    plot->xAxis->setLabel(xLabel);
    plot->yAxis->setLabel(yLabel);
    plot->legend->setVisible(true);
    plot->legend->setSelectableParts(QCPLegend::spItems);
    plot->setContextMenuPolicy(Qt::CustomContextMenu);
    // A selected graph is drawn with a thicker pen, which is slow on an hour of samples
    // unless polylines are drawn the fast way.
    plot->setPlottingHint(QCP::phFastPolylines, true);
    // An hour of noisy samples in a large window draws in about two thirds of the time
    // without antialiasing: dragging stays smooth, the plot at rest stays smooth-edged.
    plot->setNoAntialiasingOnDrag(true);
    skin(plot, titleElement);
    return titleElement;
}

} // namespace ScopePlot
