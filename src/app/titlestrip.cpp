#include "app/titlestrip.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QWidget>

TitleStrip::TitleStrip(QWidget* window, QWidget* strip, QAbstractButton* minimise, QAbstractButton* close,
                       QWidget* companion)
    : QObject(window)
    , window(window)
    , strip(strip)
{
    window->installEventFilter(this);
    connect(minimise, &QAbstractButton::clicked, window, &QWidget::showMinimized);
    connect(close, &QAbstractButton::clicked, window, &QWidget::close);
    connect(close, &QAbstractButton::clicked, companion, [window, companion] {
        if (!window->isVisible())
            companion->close();
    });
}

bool TitleStrip::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched != window
        || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease))
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event); // only a mouse event from here on
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton || !strip->geometry().contains(mouse->pos()))
            return false;
        dragging = true;
        offset = window->mapToGlobal(mouse->pos()) - window->frameGeometry().topLeft();
        return true;
    case QEvent::MouseMove:
        if (!dragging || !(mouse->buttons() & Qt::LeftButton))
            return false;
        window->move(window->mapToGlobal(mouse->pos()) - offset);
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
