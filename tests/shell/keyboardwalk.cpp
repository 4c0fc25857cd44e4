#include "keyboardwalk.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <QTest>

namespace keyboardwalk {

QList<QQuickItem*> tabRound(QQuickWindow* window, bool backwards, int limit)
{
    const Qt::KeyboardModifiers modifiers = backwards ? Qt::ShiftModifier : Qt::NoModifier;
    const Qt::Key key = backwards ? Qt::Key_Backtab : Qt::Key_Tab;
    QList<QQuickItem*> stops;
    for (int press = 0; press < limit; ++press) {
        QTest::keyClick(window, key, modifiers);
        QQuickItem* focused = window->activeFocusItem();
        if (!stops.isEmpty() && focused == stops.first())
            return stops;
        stops.append(focused);
    }
    return {};
}

QList<QQuickItem*> tabStops(QQuickItem* from)
{
    QList<QQuickItem*> stops;
    if (!from->isVisible() || !from->isEnabled())
        return stops;
    // A stop's own parts (an editable box's field) are the same stop.
    if (from->activeFocusOnTab())
        return {from};
    for (QQuickItem* child : from->childItems())
        stops += tabStops(child);
    return stops;
}

QList<QQuickItem*> within(const QList<QQuickItem*>& stops, const QQuickItem* under)
{
    QList<QQuickItem*> inside;
    for (QQuickItem* stop : stops) {
        for (const QQuickItem* up = stop; up; up = up->parentItem()) {
            if (up == under) {
                inside.append(stop);
                break;
            }
        }
    }
    return inside;
}

QString describe(const QQuickItem* item)
{
    if (!item)
        return QStringLiteral("(none)");
    const QPointF at = item->mapToScene(QPointF(0, 0));
    return QStringLiteral("%1 (%2) %3,%4")
        .arg(item->objectName(), QString::fromLatin1(item->metaObject()->className()))
        .arg(qRound(at.x()))
        .arg(qRound(at.y()));
}

QString describe(const QList<QQuickItem*>& items)
{
    QStringList lines;
    for (const QQuickItem* item : items)
        lines << describe(item);
    return lines.join(QLatin1Char('\n'));
}

} // namespace keyboardwalk
