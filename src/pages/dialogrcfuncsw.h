#pragma once

#include <QDialog>

class QButtonGroup;

namespace Ui {
class DialogRCFuncSw;
}

// Popup in which the user picks the flight mode for one position of the flight-mode switch.
class DialogRCFuncSw : public QDialog
{
    Q_OBJECT

public:
    // position 0, 1 or 2 for switch positions 1, 2 and 3.
    explicit DialogRCFuncSw(int position, QWidget* parent = nullptr);
    ~DialogRCFuncSw() override;

    // Buttons 0 .. 5 carry the flight-mode codes; the radio page disables button 5.
    QButtonGroup* buttonGroup() const;
    // The flight-mode code of the option last clicked, -1 while none was.
    int chosenOption() const;

public slots:
    void buttonClicked(int i);

private:
    Ui::DialogRCFuncSw* ui;
    QButtonGroup* group;
    int chosen = -1;
};
