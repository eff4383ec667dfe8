#include "widgets/focusring.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QWidget>

FocusRing::FocusRing(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("FocusRing"));
}

FocusRing* FocusRing::instance()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app ? app->findChild<FocusRing*>(QStringLiteral("FocusRing"), Qt::FindDirectChildrenOnly) : nullptr;
}

void FocusRing::install()
{
    if (instance() || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(new FocusRing(QCoreApplication::instance()));
}

QWidget* FocusRing::target()
{
    const FocusRing* self = instance();
    return self && self->ring && self->ring->isVisible() ? self->around.data() : nullptr;
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn: {
        auto* widget = qobject_cast<QWidget*>(watched);
        // A drop-down list is a window of its own for a moment: the ring waits by its box.
        if (!widget || widget == ring || widget->isWindow() || widget->window()->windowType() == Qt::Popup)
            break;
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            keyboard = true;
            break;
        case Qt::MouseFocusReason:
            keyboard = false;
            break;
        default: // a window activated, a dialog opened or closed: as the pilot was going
            break;
        }
        if (keyboard)
            showAround(widget);
        else
            putAway();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (keyboard) {
            keyboard = false;
            putAway();
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
        if (watched == around && keyboard)
            place();
        break;
    case QEvent::Hide:
        if (watched == around && ring)
            ring->hide();
        break;
    default:
        break;
    }
    return false;
}

void FocusRing::showAround(QWidget* widget)
{
    around = widget;
    QWidget* window = widget->window();
    if (!ring) {
        ring = new QFrame(window);
        ring->setObjectName(QStringLiteral("focusRing"));
        ring->setAttribute(Qt::WA_TransparentForMouseEvents);
        ring->setFocusPolicy(Qt::NoFocus);
        ring->setStyleSheet(QStringLiteral("QFrame#focusRing { border: %1px solid rgb(22, 136, 216); "
                                           "border-radius: 5px; background: transparent; }")
                                .arg(kWidth));
    } else if (ring->parentWidget() != window) {
        ring->setParent(window);
    }
    place();
}

void FocusRing::putAway()
{
    around = nullptr;
    if (ring)
        ring->hide();
}

void FocusRing::place()
{
    if (!ring || !around || !around->isVisible()) {
        if (ring)
            ring->hide();
        return;
    }
    const QWidget* window = ring->parentWidget();
    const QRect box(around->mapTo(window, QPoint(0, 0)), around->size());
    ring->setGeometry(box.adjusted(-kGap, -kGap, kGap, kGap));
    ring->raise();
    ring->show();
}
