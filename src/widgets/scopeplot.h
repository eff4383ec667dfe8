#pragma once

#include <QString>

class QCPTextElement;
class QCustomPlot;

namespace ScopePlot {

// Sets up the scope's plot: range drag and zoom, selectable axes, legend items and graphs, a
// full axes box whose top and right axes follow the bottom and left ones, a title row, the
// axis labels, the legend, a custom context menu, and the drawing hints that keep an hour of
// samples smooth. Returns the title element (owned by the plot).
QCPTextElement* setUp(QCustomPlot* plot, const QString& title, const QString& xLabel, const QString& yLabel);

} // namespace ScopePlot
