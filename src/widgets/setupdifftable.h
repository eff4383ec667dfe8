#pragma once

#include "engine/setupdiff.h"

#include <QTableWidget>

// The table of the values that differ between the controller and a setup it may receive:
// the setting's name, its value on the controller and in the other setup, in the pilot's
// language, in the skin's colours.
class SetupDiffTable : public QTableWidget
{
    Q_OBJECT

public:
    explicit SetupDiffTable(QWidget* parent = nullptr);

    // `otherTitle` heads the third column ("File", "Snapshot").
    void setRows(const QVector<SetupDiff::Row>& rows, const QString& otherTitle);

    // The pilot's name of a setting and the text of one of its values.
    static QString fieldName(const SetupFields::Field& field);
    static QString valueText(const SetupFields::Field& field, double value);

    // The skin's look for a table (also the history's list).
    static void applySkin(QTableWidget* table);
};
