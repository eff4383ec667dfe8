#pragma once

#include "engine/setupdiff.h"

#include <QDialog>

namespace Ui {
class DialogSetupDiff;
}

// The question before a setup goes to the controller: a text and the table of the values
// that differ, on the skin's large dialog, with OK and Cancel (Enter means Cancel).
class DialogSetupDiff : public QDialog
{
    Q_OBJECT

public:
    explicit DialogSetupDiff(QWidget* parent = nullptr);
    ~DialogSetupDiff() override;

    void setText(const QString& text);
    // `otherTitle` heads the column of the values that would be sent.
    void setRows(const QVector<SetupDiff::Row>& rows, const QString& otherTitle);

    // Asks without parent, modally: true only for OK.
    static bool ask(const QString& text, const QVector<SetupDiff::Row>& rows, const QString& otherTitle);

private:
    Ui::DialogSetupDiff* ui;
};
