#pragma once

#include <QObject>
#include <QVector>

class QCheckBox;
class QLabel;
class QProgressBar;

// Keeps the radio page's channel rows together and turns a click on any reverse box into
// one signal.
class FCRcUIManager : public QObject
{
    Q_OBJECT

public:
    // One channel row; the widgets belong to the page's form.
    struct Row {
        QLabel* minLabel = nullptr;
        QProgressBar* bar = nullptr;
        QLabel* maxLabel = nullptr;
        QCheckBox* reverseBox = nullptr;
    };

    explicit FCRcUIManager(QObject* parent = nullptr);

    // Appends a row and forwards the user's clicks on its reverse box.
    void addRow(QLabel* minLabel, QProgressBar* bar, QLabel* maxLabel, QCheckBox* reverseBox);
    // Row 0 .. count() - 1.
    const Row& row(int index) const;
    int count() const;

signals:
    // A user clicked one of the reverse boxes; the receiver re-reads all of them.
    // Programmatic setChecked() calls do not emit it.
    void checkBoxStateChanged();

private:
    QVector<Row> rows;
};
