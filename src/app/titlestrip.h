#pragma once

#include <QObject>
#include <QPoint>

class QAbstractButton;
class QWidget;

// The title strip of a frameless window: a left-button drag that starts on the strip takes the
// window along; its minimise and close buttons act on the window, and a companion window (the
// scope) closes with it, but only once the window has really closed (the pilot may keep it
// open when asked first). Watches the window's own mouse events.
class TitleStrip : public QObject
{
    Q_OBJECT

public:
    TitleStrip(QWidget* window, QWidget* strip, QAbstractButton* minimise, QAbstractButton* close,
               QWidget* companion);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window;
    QWidget* strip;
    bool dragging = false;
    QPoint offset;
};
