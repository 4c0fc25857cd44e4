#include "valuesshown.h"

#include "pagesession.h"
#include "testharness.h"
#include "viewloader.h"

#include <QDeadlineTimer>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>

bool waitForValuesShown(PageSession& session, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QQuickItem* page = session.shell().pageItem();
    const bool showsObjects =
        !QQmlProperty::read(page, QStringLiteral("shownObjects")).toStringList().isEmpty();
    if (showsObjects &&
        !qx8test::runEventsUntil(
            [page] {
                return !QQmlProperty::read(page, "availableObjects").toStringList().isEmpty();
            },
            int(deadline.remainingTime())))
        return false;
    if (!session.waitForValues(int(deadline.remainingTime())).isEmpty())
        return false;
    QQuickView* view = session.shell().loader()->view();
    QSignalSpy drawn(view, &QQuickWindow::frameSwapped);
    view->update();
    return drawn.wait(int(qMax<qint64>(deadline.remainingTime(), 1)));
}
