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

    // The caller passes finished, translated text. A text too long for the label at 13 pt is
    // shown smaller (not below 8 pt), so that it ends above the buttons and clear of the edge.
    void setText(const QString& text);
    // The point size the text is shown at.
    int textPoints() const;

    // A question without parent, run modally: true only for OK (Enter means Cancel).
    static bool ask(const QString& text);
    // A message without parent, run modally; either button closes it.
    static void tell(const QString& text);
    // The question shown over `parent` without waiting for the answer (window-modal, gone
    // once answered): for what the program says on its own, outside any click.
    static DialogWarning* openOver(QWidget* parent, const QString& text);

    static constexpr int kTextPoints = 13;
    static constexpr int kMinTextPoints = 8;
    static constexpr int kSideMargin = 8;
    static constexpr int kButtonGap = 3;

private:
    Ui::DialogWarning* ui;
};
