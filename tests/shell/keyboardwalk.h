#pragma once

#include <QList>
#include <QString>

class QQuickItem;
class QQuickWindow;

// The keyboard's way through a window as its user takes it: Tab pressed again and again, each
// stop the item that then holds the focus.
namespace keyboardwalk {

// The stops of one round of Tab (Shift+Tab when `backwards`) from the item that holds the focus,
// in order, until the focus comes back to the first stop; empty when it does not come round
// within `limit` presses.
QList<QQuickItem*> tabRound(QQuickWindow* window, bool backwards = false, int limit = 600);

// Every item in and below `from` that Tab is to reach: shown, enabled and taking the focus on
// Tab, in item-tree order.
QList<QQuickItem*> tabStops(QQuickItem* from);

// The items of `stops` that lie in and below `under`.
QList<QQuickItem*> within(const QList<QQuickItem*>& stops, const QQuickItem* under);

// "objectName (type) x,y" of an item, for failure messages.
QString describe(const QQuickItem* item);
QString describe(const QList<QQuickItem*>& items);

} // namespace keyboardwalk
