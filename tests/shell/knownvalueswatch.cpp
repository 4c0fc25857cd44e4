#include "knownvalueswatch.h"

#include "qx8control.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "virtualprocessor.h"

#include <QQuickItem>
#include <QTest>

SlowConsole::SlowConsole(VirtualProcessor& device)
    : m_device(device), m_slow(device.setConsoleLink(kBytesPerSecond, kLatencyMs))
{
}

SlowConsole::~SlowConsole()
{
    if (!m_device.setConsoleLink(0))
        qWarning("VirtualQX8 kept its slow console");
}

bool SlowConsole::answeredWrites(const QString& object, const QString& variable,
                                 const QString& valueType)
{
    const QString target = ConsoleRequest::targetOf(object, variable, valueType);
    return QTest::qWaitFor(
        [&] { return !TCPAdaptor::instance()->requests().unansweredWrite(target).has_value(); },
        30000);
}

QX8Control* KnownValuesWatch::backendOf(const QQuickItem* item)
{
    return qobject_cast<QX8Control*>(item->property("backend").value<QObject*>());
}

bool KnownValuesWatch::backendKnows(QQuickItem* control)
{
    const QX8Control* backend = backendOf(control);
    return backend && backend->hasDeviceValue();
}

QString KnownValuesWatch::nameBoxMisshown(QQuickItem* box, bool known)
{
    const QString shown = box->property("editText").toString();
    const auto* field = box->property("contentItem").value<QQuickItem*>();
    const bool dash = field->property("placeholderText").toString() == QStringLiteral("\u2013");
    const bool right =
        known ? box->isEnabled() && !dash && shown == backendOf(box)->property("value").toString()
              : !box->isEnabled() && !box->hasActiveFocus() && dash && shown.isEmpty();
    return right ? QString()
                 : QStringLiteral("%1 shows \"%2\"%3")
                       .arg(box->objectName(), shown, box->isEnabled() ? ", taking typing" : "");
}

bool KnownValuesWatch::untilKnown(const Controls& controls, const Misshown& misshown,
                                  const Known& known)
{
    m_unknownSeen = 0;
    m_wrong.clear();
    const bool allKnown = qx8test::runEventsUntil(
        [&] {
            const QList<QQuickItem*> shown = controls();
            bool all = !shown.isEmpty();
            for (QQuickItem* control : shown) {
                const bool knows = known(control);
                all = all && knows;
                m_unknownSeen += knows ? 0 : 1;
                if (m_wrong.isEmpty())
                    m_wrong = misshown(control, knows);
            }
            return all || !m_wrong.isEmpty();
        },
        qx8test::timeoutMs());
    if (!allKnown && m_wrong.isEmpty())
        m_wrong = QStringLiteral("the device's values did not come");
    return allKnown && m_wrong.isEmpty();
}
