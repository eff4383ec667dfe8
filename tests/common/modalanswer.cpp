#include "modalanswer.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTimer>

struct ModalAnswer::State {
    QTimer timer;
    QElapsedTimer clock;
    bool answered = false;
    QString text;
    QString className;
};

ModalAnswer::ModalAnswer(Answer answer, int timeoutMs)
    : state(new State)
{
    state->clock.start();
    state->timer.setInterval(5);
    QObject::connect(&state->timer, &QTimer::timeout, [s = state, answer, timeoutMs] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (s->clock.elapsed() > timeoutMs)
                s->timer.stop();
            return;
        }
        s->timer.stop();
        s->answered = true;
        s->className = QString::fromLatin1(dialog->metaObject()->className());
        if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("label_info")))
            s->text = label->text();
        if (answer == Accept)
            dialog->accept();
        else
            dialog->reject();
    });
    state->timer.start();
}

ModalAnswer::~ModalAnswer()
{
    delete state;
}

bool ModalAnswer::answered() const
{
    return state->answered;
}

QString ModalAnswer::shownText() const
{
    return state->text;
}

QString ModalAnswer::dialogClass() const
{
    return state->className;
}
