#include "modalscript.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>

namespace {

const ModalScript* running = nullptr;

} // namespace

ModalScript::ModalScript(QList<Answer> answers)
    : pending(std::move(answers))
{
    if (running)
        qFatal("a ModalScript is already answering the dialogs");
    running = this;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [this] { poll(); });
    timer.start();
}

ModalScript::~ModalScript()
{
    running = nullptr;
}

void ModalScript::poll()
{
    for (QWidget* widget : {QApplication::activePopupWidget(), QApplication::activeModalWidget()}) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (!dialog || !dialog->isVisible())
            continue;
        const auto* label = dialog->findChild<QLabel*>(QStringLiteral("label_info"));
        shownTexts << (label ? label->text() : dialog->windowTitle());
        shownClasses << QString::fromLatin1(dialog->metaObject()->className());
        for (const auto& act : qAsConst(actions)) {
            if (act(dialog))
                return;
        }
        const Answer answer = pending.isEmpty() ? Cancel : pending.takeFirst();
        if (answer == Ok)
            dialog->accept();
        else
            dialog->reject();
        return;
    }
}
