#include "pages/pagefcscope.h"

#include "engine/scopereply.h"
#include "protocol/requests.h"
#include "ui_pagefcscope.h"
#include "widgets/dialogwarning.h"
#include "widgets/scopeplot.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QScrollBar>

#include <cmath>

using ScopePlot::kScrollFactor;
using ScopePlot::scrollUnits;
using ScopePlot::setScroll;

PageFCScope::PageFCScope(QWidget* parent, Build when)
    : PageFC(parent)
    , ui(new Ui::PageFCScope)
    , titleElement(nullptr)
    , random(quint32(QDateTime::currentSecsSinceEpoch()))
{
    setObjectName(QStringLiteral("pageFCScope"));
    buildIf(when);
}

void PageFCScope::build()
{
    ui->setupUi(this);
    // The window's own ground from the style sheet, as the main window's.
    setAttribute(Qt::WA_StyledBackground);
    setWindowTitle(tr("Scope"));

    QCustomPlot* plot = ui->plot;
    titleElement = ScopePlot::setUp(plot, tr("Development Plot"), tr("x Axis"), tr("y Axis"));

    connect(ui->horizontalScrollBar, &QScrollBar::valueChanged, this, &PageFCScope::horzScrollBarChanged);
    connect(ui->verticalScrollBar, &QScrollBar::valueChanged, this, &PageFCScope::vertScrollBarChanged);
    connect(plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, &PageFCScope::xAxisChanged);
    connect(plot->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, &PageFCScope::yAxisChanged);
    connect(plot, &QCustomPlot::selectionChangedByUser, this, &PageFCScope::selectionChanged);
    connect(plot, &QCustomPlot::mousePress, this, &PageFCScope::mousePress);
    connect(plot, &QCustomPlot::mouseWheel, this, &PageFCScope::mouseWheel);
    connect(titleElement, &QCPTextElement::doubleClicked, this,
            [this](QMouseEvent* event) { titleDoubleClick(event, titleElement); });
    connect(plot, &QCustomPlot::axisDoubleClick, this, &PageFCScope::axisLabelDoubleClick);
    connect(plot, &QCustomPlot::legendDoubleClick, this, &PageFCScope::legendDoubleClick);
    connect(plot, &QWidget::customContextMenuRequested, this, &PageFCScope::contextMenuRequest);

    connect(ui->pushButton_pause, &QPushButton::clicked, this, &PageFCScope::togglePause);
    connect(ui->pushButton_exportCsv, &QPushButton::clicked, this, &PageFCScope::exportCsv);
    connect(ui->pushButton_saveImage, &QPushButton::clicked, this, &PageFCScope::saveImage);

    xAxisChanged(plot->xAxis->range());
    yAxisChanged(plot->yAxis->range());
}

PageFCScope::~PageFCScope()
{
    delete ui;
}

void PageFCScope::TaskDone(FCProtocol::Task* task)
{
    // Only a shown scope asks for its frames; every other result passes by.
    if (task->status != FCProtocol::Task::Success || !isBuilt())
        return;
    task->rxStream.device()->seek(task->headLength);
    const QByteArray payload = task->rxData.mid(task->headLength);
    if (task->type == FCProtocol::SCOPE_NAME_RD)
        takeNames(payload);
    else if (task->type == FCProtocol::SCOPE_DATA_RD)
        takeSamples(payload);
}

void PageFCScope::takeNames(const QByteArray& payload)
{
    // The channel set is read once per recording; a late second reply changes nothing.
    if (!namesNeeded)
        return;
    namesNeeded = false;
    QCustomPlot* plot = ui->plot;
    plot->clearGraphs();
    recording.start(ScopeReply::decodeNames(payload));
    for (const QString& name : recording.channelNames()) {
        QCPGraph* graph = plot->addGraph();
        graph->setName(name);
        const int red = int(10 + random.generate() % 245);
        const int green = int(10 + random.generate() % 245);
        const int blue = int(10 + random.generate() % 245);
        graph->setPen(QPen(QColor(red, green, blue, 255)));
    }
    plot->xAxis->setRange(50, 100, Qt::AlignCenter);
    plot->replot(QCustomPlot::rpQueuedReplot);
}

void PageFCScope::takeSamples(const QByteArray& payload)
{
    // A sample still on its way when the recording restarted belongs to the old channel set.
    if (namesNeeded)
        return;
    QVector<float> samples;
    if (!ScopeReply::decodeSamples(payload, recording.channelCount(), &samples))
        return;

    QCustomPlot* plot = ui->plot;
    const QCPRange xBefore = plot->xAxis->range();
    const QCPRange yBefore = plot->yAxis->range();
    double t = 0.0;
    if (recording.sampleCount() == 0)
        elapsed.start();
    else
        t = recording.timeVector().last() + restartSampleClock() / 1000.0;
    recording.append(t, samples);
    const int count = qMin(samples.size(), plot->graphCount());
    for (int i = 0; i < count; ++i) {
        const double value = samples.at(i);
        // One bad sample must not take the axis range with it.
        if (!std::isfinite(value))
            continue;
        plot->graph(i)->addData(t, value);
        if (value > largest)
            largest = value;
        else if (value < smallest)
            smallest = value;
    }
    // The x axis stays where the user put it; its scroll bar learns of the longer recording.
    xAxisChanged(plot->xAxis->range());
    if (paused)
        return;
    showExtent();
    // With the axes where they were, a sample changes only the graphs: their layer alone is
    // drawn again (no tick labels, legend or title laid out anew 20 times a second).
    if (plot->xAxis->range() == xBefore && plot->yAxis->range() == yBefore)
        plot->layer(QStringLiteral("main"))->replot();
    else
        plot->replot(QCustomPlot::rpQueuedReplot);
}

double PageFCScope::restartSampleClock()
{
    // To the nanosecond: whole milliseconds would drop up to one per sample, and the time axis
    // would fall 1 % behind the clock at 20 samples a second.
    const qint64 nanos = elapsed.nsecsElapsed();
    elapsed.start();
    return nanos / 1e6;
}

void PageFCScope::showExtent()
{
    ui->plot->yAxis->setRange((largest + smallest) / 2, qAbs(largest - smallest) * 1.5, Qt::AlignCenter);
}

void PageFCScope::mainLoop()
{
    if (!isVisible())
        return;
    emit AddTask(namesNeeded ? FCProtocol::Request::scopeNamesRead() : FCProtocol::Request::scopeDataRead());
}

void PageFCScope::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    Q_UNUSED(info);
}

void PageFCScope::horzScrollBarChanged(int value)
{
    QCPAxis* axis = ui->plot->xAxis;
    if (qAbs(axis->range().center() - value / kScrollFactor) > 0.01) {
        axis->setRange(value / kScrollFactor, axis->range().size(), Qt::AlignCenter);
        ui->plot->replot();
    }
}

void PageFCScope::vertScrollBarChanged(int value)
{
    QCPAxis* axis = ui->plot->yAxis;
    if (qAbs(axis->range().center() + value / kScrollFactor) > 0.01) {
        axis->setRange(-value / kScrollFactor, axis->range().size(), Qt::AlignCenter);
        ui->plot->replot();
    }
}

void PageFCScope::xAxisChanged(QCPRange range)
{
    // The bar spans the recording and wherever the user has moved the axis.
    const QVector<double>& times = recording.timeVector();
    const int end = times.isEmpty() ? 0 : scrollUnits(times.last());
    setScroll(ui->horizontalScrollBar, 0, end, scrollUnits(range.center()), scrollUnits(range.size()));
}

void PageFCScope::yAxisChanged(QCPRange range)
{
    // Upwards on the axis is towards the top of the bar: the bar's units run the other way.
    setScroll(ui->verticalScrollBar, scrollUnits(-largest), scrollUnits(-smallest), scrollUnits(-range.center()),
              scrollUnits(range.size()));
}

void PageFCScope::selectionChanged()
{
    QCustomPlot* plot = ui->plot;
    const QCPAxis::SelectableParts both = QCPAxis::spAxis | QCPAxis::spTickLabels;
    auto lineOrLabels = [](QCPAxis* axis) {
        return axis->selectedParts().testFlag(QCPAxis::spAxis) || axis->selectedParts().testFlag(QCPAxis::spTickLabels);
    };
    if (lineOrLabels(plot->xAxis) || lineOrLabels(plot->xAxis2)) {
        plot->xAxis2->setSelectedParts(both);
        plot->xAxis->setSelectedParts(both);
    }
    if (lineOrLabels(plot->yAxis) || lineOrLabels(plot->yAxis2)) {
        plot->yAxis2->setSelectedParts(both);
        plot->yAxis->setSelectedParts(both);
    }

    for (int i = 0; i < plot->graphCount(); ++i) {
        QCPGraph* graph = plot->graph(i);
        QCPPlottableLegendItem* item = plot->legend->itemWithPlottable(graph);
        if (graph->selected() || (item && item->selected())) {
            if (item)
                item->setSelected(true);
            graph->setSelection(QCPDataSelection(graph->data()->dataRange()));
        }
    }
}

void PageFCScope::mousePress()
{
    QCustomPlot* plot = ui->plot;
    if (plot->xAxis->selectedParts().testFlag(QCPAxis::spAxis))
        plot->axisRect()->setRangeDrag(plot->xAxis->orientation());
    else if (plot->yAxis->selectedParts().testFlag(QCPAxis::spAxis))
        plot->axisRect()->setRangeDrag(plot->yAxis->orientation());
    else
        plot->axisRect()->setRangeDrag(Qt::Horizontal | Qt::Vertical);
}

void PageFCScope::mouseWheel()
{
    QCustomPlot* plot = ui->plot;
    if (plot->xAxis->selectedParts().testFlag(QCPAxis::spAxis))
        plot->axisRect()->setRangeZoom(plot->xAxis->orientation());
    else if (plot->yAxis->selectedParts().testFlag(QCPAxis::spAxis))
        plot->axisRect()->setRangeZoom(plot->yAxis->orientation());
    else
        plot->axisRect()->setRangeZoom(Qt::Horizontal | Qt::Vertical);
}

void PageFCScope::titleDoubleClick(QMouseEvent* event, QCPTextElement* title)
{
    Q_UNUSED(event);
    if (!title)
        return;
    bool ok = false;
    const QString text = QInputDialog::getText(this, tr("QCustomPlot example"), tr("New plot title:"),
                                               QLineEdit::Normal, title->text(), &ok);
    if (ok) {
        title->setText(text);
        ui->plot->replot();
    }
}

void PageFCScope::axisLabelDoubleClick(QCPAxis* axis, QCPAxis::SelectablePart part)
{
    if (!axis || part != QCPAxis::spAxisLabel)
        return;
    bool ok = false;
    const QString text = QInputDialog::getText(this, tr("QCustomPlot example"), tr("New axis label:"),
                                               QLineEdit::Normal, axis->label(), &ok);
    if (ok) {
        axis->setLabel(text);
        ui->plot->replot();
    }
}

void PageFCScope::legendDoubleClick(QCPLegend* legend, QCPAbstractLegendItem* item)
{
    Q_UNUSED(legend);
    auto* plottableItem = qobject_cast<QCPPlottableLegendItem*>(item);
    if (!plottableItem)
        return;
    QCPAbstractPlottable* plottable = plottableItem->plottable();
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("QCustomPlot example"), tr("New graph name:"),
                                               QLineEdit::Normal, plottable->name(), &ok);
    if (ok) {
        plottable->setName(name);
        // The export names the column as the legend does.
        for (int i = 0; i < ui->plot->graphCount(); ++i) {
            if (ui->plot->graph(i) == plottable)
                recording.rename(i, name);
        }
        ui->plot->replot();
    }
}

void PageFCScope::contextMenuRequest(QPoint pos)
{
    QCPLegend* legend = ui->plot->legend;
    if (!legend->visible() || legend->selectTest(pos, false) < 0)
        return;

    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const struct {
        const char* text;
        Qt::Alignment alignment;
    } moves[] = {
        {QT_TR_NOOP("Move to top left"), Qt::AlignTop | Qt::AlignLeft},
        {QT_TR_NOOP("Move to top center"), Qt::AlignTop | Qt::AlignHCenter},
        {QT_TR_NOOP("Move to top right"), Qt::AlignTop | Qt::AlignRight},
        {QT_TR_NOOP("Move to bottom right"), Qt::AlignBottom | Qt::AlignRight},
        {QT_TR_NOOP("Move to bottom left"), Qt::AlignBottom | Qt::AlignLeft},
    };
    for (const auto& move : moves)
        menu->addAction(tr(move.text), this, &PageFCScope::moveLegend)->setData(int(move.alignment));
    menu->popup(ui->plot->mapToGlobal(pos));
}

void PageFCScope::moveLegend()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    bool ok = false;
    const int alignment = action->data().toInt(&ok);
    if (!ok)
        return;
    ui->plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::Alignment(alignment));
    ui->plot->replot();
}

void PageFCScope::on_pushButton_clear_clicked()
{
    namesNeeded = true;
    QCustomPlot* plot = ui->plot;
    for (int i = 0; i < plot->graphCount(); ++i)
        plot->graph(i)->data()->clear();
    recording.clear();
    largest = 0.0;
    smallest = 0.0;
    plot->replot(QCustomPlot::rpQueuedReplot);
}

void PageFCScope::togglePause()
{
    paused = !paused;
    ui->pushButton_pause->setText(paused ? tr("Resume") : tr("Pause"));
    if (!paused) {
        showExtent();
        ui->plot->replot();
    }
}

void PageFCScope::showEvent(QShowEvent* event)
{
    PageFC::showEvent(event);
    // Every opening is a fresh, live recording.
    on_pushButton_clear_clicked();
    if (paused)
        togglePause();
}

bool PageFCScope::writeCsv(const QString& fileName) const
{
    return recording.saveCsv(fileName);
}

bool PageFCScope::writeImage(const QString& fileName)
{
    QCustomPlot* plot = ui->plot;
    const double scale = plot->devicePixelRatioF() > 1.0 ? 2.0 : 1.0;
    return plot->savePng(fileName, plot->width(), plot->height(), scale);
}

void PageFCScope::exportCsv()
{
    saveAs(tr("Export CSV"), tr("CSV files (*.csv)"), [this](const QString& name) { return writeCsv(name); });
}

void PageFCScope::saveImage()
{
    saveAs(tr("Save image"), tr("PNG images (*.png)"), [this](const QString& name) { return writeImage(name); });
}

void PageFCScope::saveAs(const QString& title, const QString& filter, const std::function<bool(const QString&)>& write)
{
    const QString fileName = QFileDialog::getSaveFileName(this, title, QString(), filter);
    if (!fileName.isEmpty() && !write(fileName))
        DialogWarning::tell(tr("Could not write %1.").arg(QDir::toNativeSeparators(fileName)));
}
