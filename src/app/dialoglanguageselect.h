#pragma once

#include <QDialog>
#include <QLocale>

namespace Ui {
class DialogLanguageSelect;
}

// The notice, shown after a new language was chosen, asking the user to restart.
class DialogLanguageSelect : public QDialog
{
    Q_OBJECT

public:
    explicit DialogLanguageSelect(QWidget* parent = nullptr);
    ~DialogLanguageSelect() override;

    // Speaks the language of `locale` (the one just chosen), not the running one.
    void setLanguage(QLocale locale);

private:
    Ui::DialogLanguageSelect* ui;
};
