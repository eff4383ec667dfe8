#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Acts on a dialog of class D while its exec() runs: polls for it from a timer and calls
// `act` once with the first visible one.
template <typename D>
class WhenShown
{
public:
    explicit WhenShown(std::function<void(D*)> act)
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this, act] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<D*>(w);
                if (dialog && dialog->isVisible()) {
                    timer.stop();
                    done = true;
                    act(dialog);
                    return;
                }
            }
        });
        timer.start();
    }

    bool done = false;

private:
    QTimer timer;
};
