#pragma once

#include <QList>

class QWidget;

// A window's Tab order in three parts: the controls before the shown page, the page's own
// controls in its focus chain, and the controls after it, round and round; a control hidden,
// disabled or not taking Tab is passed over.
namespace TabOrder {

// Moves the focus one step (backwards when `next` is false); false when nothing takes it.
bool move(QWidget* window, const QList<QWidget*>& before, const QWidget* page, const QList<QWidget*>& after,
          bool next);

} // namespace TabOrder
