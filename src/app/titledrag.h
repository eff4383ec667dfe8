#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Moves a frameless window by its title strip: a left-button drag that starts on the strip
// takes the window along. Watches the window's own mouse events.
class TitleDrag : public QObject
{
    Q_OBJECT

public:
    TitleDrag(QWidget* window, QWidget* titleStrip);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window;
    QWidget* strip;
    bool dragging = false;
    QPoint offset;
};
