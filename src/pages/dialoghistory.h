#pragma once

#include "engine/setuphistory.h"

#include <QDialog>

namespace Ui {
class DialogHistory;
}

// The history of the connected controller's setup: each snapshot with its local time, its
// reason and how many values differ from the controller now; the selected one shows its
// table of differences, and Restore brings it back.
class DialogHistory : public QDialog
{
    Q_OBJECT

public:
    // `snapshots` newest first; `controller` as just read.
    DialogHistory(const QVector<SetupHistory::Snapshot>& snapshots, const SetupRecord& controller,
                  QWidget* parent = nullptr);
    ~DialogHistory() override;

    // The snapshot selected when Restore was pressed; -1 for none.
    int chosen() const { return selected; }
    void select(int row);

    // The pilot's words for a snapshot's reason; an unknown reason as it stands.
    static QString reasonText(const QString& reason);

private:
    void showSelected();

    Ui::DialogHistory* ui;
    QVector<SetupHistory::Snapshot> list;
    SetupRecord now;
    int selected = -1;
};
