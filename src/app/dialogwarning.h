#pragma once

#include <QDialog>

namespace Ui {
class DialogWarning;
}

// The skinned modal OK/Cancel question and message box of the whole program.
class DialogWarning : public QDialog
{
    Q_OBJECT

public:
    explicit DialogWarning(QWidget* parent = nullptr);
    ~DialogWarning() override;

    // The caller passes finished, translated text.
    void setText(const QString& text);

private:
    Ui::DialogWarning* ui;
};
