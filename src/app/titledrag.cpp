#include "app/titledrag.h"

#include <QMouseEvent>
#include <QWidget>

TitleDrag::TitleDrag(QWidget* window, QWidget* titleStrip)
    : QObject(window)
    , window(window)
    , strip(titleStrip)
{
    window->installEventFilter(this);
}

bool TitleDrag::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton || !strip->geometry().contains(mouse->pos()))
            return false;
        dragging = true;
        offset = mouse->globalPos() - window->frameGeometry().topLeft();
        return true;
    case QEvent::MouseMove:
        if (!dragging || !(mouse->buttons() & Qt::LeftButton))
            return false;
        window->move(mouse->globalPos() - offset);
        return true;
    case QEvent::MouseButtonRelease:
        if (mouse->button() != Qt::LeftButton || !dragging)
            return false;
        dragging = false;
        return true;
    default:
        return false;
    }
}
