#pragma once

#include <QString>

class QCPTextElement;
class QCustomPlot;
class QScrollBar;

namespace ScopePlot {

// Scroll bar units per axis unit.
constexpr double kScrollFactor = 100.0;

// An axis value in scroll bar units, bounded far beyond any recording (about four months at
// the factor) and within an int.
int scrollUnits(double axisValue);

// Shows `value` on the bar within a range that spans at least [low, high], so that setting the
// value never clamps it; the bar's signals stay quiet.
void setScroll(QScrollBar* bar, int low, int high, int value, int pageStep);

// Sets up the scope's plot: range drag and zoom, selectable axes, legend items and graphs, a
// full axes box whose top and right axes follow the bottom and left ones, a title row, the
// axis labels, the legend, a custom context menu, and the drawing hints that keep an hour of
// samples smooth. Returns the title element (owned by the plot).
QCPTextElement* setUp(QCustomPlot* plot, const QString& title, const QString& xLabel, const QString& yLabel);

} // namespace ScopePlot
