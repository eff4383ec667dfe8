#include "widgets/taborder.h"

#include <QApplication>
#include <QWidget>

namespace TabOrder {

bool move(QWidget* window, const QList<QWidget*>& before, const QWidget* page, const QList<QWidget*>& after,
          bool next)
{
    QList<QWidget*> order = before;
    // A page's form joins the window's focus chain at its end when it is built: its controls
    // are taken in the chain's order, wherever they stand in it.
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (page && page->isAncestorOf(w))
            order << w;
    }
    order << after;

    int at = -1;
    for (QWidget* w = QApplication::focusWidget(); w && at < 0; w = w->parentWidget())
        at = order.indexOf(w);
    const int count = order.size();
    if (at < 0)
        at = next ? -1 : count;
    for (int step = 1; step <= count; ++step) {
        QWidget* candidate = order[((at + (next ? step : -step)) % count + count) % count];
        if (candidate->isVisible() && candidate->isEnabled() && (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

} // namespace TabOrder
