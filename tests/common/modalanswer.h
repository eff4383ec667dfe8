#pragma once

#include <QString>

class QDialog;

// Answers the next modal dialog from a timer, so a test can click a button that runs
// QDialog::exec(). The text the dialog showed (its "label_info" label, when it has one)
// is kept for the test to check.
class ModalAnswer
{
public:
    enum Answer { Accept, Reject };

    // Polls every few milliseconds (for at most `timeoutMs`) for
    // QApplication::activeModalWidget() and accepts or rejects the first dialog found.
    explicit ModalAnswer(Answer answer, int timeoutMs = 5000);
    ~ModalAnswer();

    bool answered() const;
    QString shownText() const;
    QString dialogClass() const;

private:
    struct State;
    State* state;
};
