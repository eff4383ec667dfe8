#pragma once

#include "engine/setuprecord.h"

#include <QList>
#include <QString>
#include <QVector>

namespace FCProtocol {
class Task;
}

// What bringing a setup onto a controller changes: the values that differ, and the writes
// that carry them. Only the sections the wanted setup has (and the controller's reading too)
// are compared and written.
namespace SetupDiff {

// One value that differs, as the tuning file writes it.
struct Row {
    const SetupFields::Field* field;
    double controller;
    double wanted;
};

// The differing values, in file order.
QVector<Row> rows(const SetupRecord& controller, const SetupRecord& wanted);

// The writes for the sections that differ, in the order PARA_WR, RC_WR, FRAME_RW write; each
// urgent, the caller owns them. RC_WR keeps the controller's own bits of its channel word
// (read in `controller`), so `controller` must have every section that `wanted` has.
QList<FCProtocol::Task*> writes(const SetupRecord& controller, const SetupRecord& wanted);

// A value as plain text: whole numbers as such, gains in the fewest digits that give the
// same float.
QString valueText(const SetupFields::Field& field, double value);

} // namespace SetupDiff
