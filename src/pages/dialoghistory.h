#pragma once

#include "engine/setuphistory.h"

#include <QDialog>

namespace Ui {
class DialogHistory;
}

// The history of the connected controller's setup: each snapshot with its local time, its
// reason and how many values differ from the controller now; below them, in a group of their
// own, the snapshots of its model whose board is unknown. The selected one shows its table of
// differences, and Restore brings it back.
class DialogHistory : public QDialog
{
    Q_OBJECT

public:
    // Both lists the last written first; `controller` as just read.
    DialogHistory(const QVector<SetupHistory::Snapshot>& own, const QVector<SetupHistory::Snapshot>& unknownBoard,
                  const SetupRecord& controller, QWidget* parent = nullptr);
    ~DialogHistory() override;

    // The snapshot selected when Restore was pressed; null for none.
    const SetupHistory::Snapshot* chosen() const;
    // Selects the `index`th snapshot, counted over both groups in the order shown.
    void select(int index);

    // The pilot's words for a snapshot's reason; an unknown reason as it stands.
    static QString reasonText(const QString& reason);

private:
    void addRow(const SetupHistory::Snapshot& snapshot);
    void showSelected();

    Ui::DialogHistory* ui;
    QVector<SetupHistory::Snapshot> list;
    // The table row of each snapshot of `list` (the group's heading takes a row of its own).
    QVector<int> rowOf;
    SetupRecord now;
    int selected = -1;
};
