#pragma once

#include <QDialog>

class QButtonGroup;

namespace Ui {
class DialogRCFuncLinear;
}

// Popup with the two basic-response choices, built like the flight-mode popup.
class DialogRCFuncLinear : public QDialog
{
    Q_OBJECT

public:
    explicit DialogRCFuncLinear(QWidget* parent = nullptr);
    ~DialogRCFuncLinear() override;

    // Buttons 0 (off) and 1 (on).
    QButtonGroup* buttonGroup() const;
    // The id of the option last clicked, -1 while none was.
    int chosenOption() const;

public slots:
    void buttonClicked(int i);

private:
    Ui::DialogRCFuncLinear* ui;
    QButtonGroup* group;
    int chosen = -1;
};
