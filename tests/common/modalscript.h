#pragma once

#include <QList>
#include <QStringList>
#include <QTimer>

#include <functional>

class QDialog;

// Answers the modal dialogs that come up while it lives, from a timer that finds them
// (QApplication::activeModalWidget(), or the open popup). Each one is recorded, its class and
// its text (the "label_info" label, else the window title), then handed to the action set for
// its class, if any, else to the next answer of the script: Ok accepts, Cancel rejects. A
// dialog beyond the script is cancelled, so a test never hangs on a question it did not
// expect; it finds it in texts() instead. One script at a time: two would answer the same dialog.
class ModalScript
{
public:
    enum Answer { Ok, Cancel };

    explicit ModalScript(QList<Answer> answers = {});
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Every dialog of class D that comes up goes to `act`, which must close it.
    template <typename D>
    ModalScript& on(std::function<void(D*)> act)
    {
        actions << [act](QDialog* dialog) {
            D* match = qobject_cast<D*>(dialog);
            if (match)
                act(match);
            return match != nullptr;
        };
        return *this;
    }

    int count() const { return shownTexts.size(); }
    QStringList texts() const { return shownTexts; }
    QString text(int i = 0) const { return shownTexts.value(i); }
    QStringList classes() const { return shownClasses; }

private:
    void poll();

    QList<Answer> pending;
    QList<std::function<bool(QDialog*)>> actions;
    QStringList shownTexts;
    QStringList shownClasses;
    QTimer timer;
};
