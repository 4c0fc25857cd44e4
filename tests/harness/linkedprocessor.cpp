#include "linkedprocessor.h"

#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "testharness.h"

#include <QSignalSpy>
#include <QTest>

bool LinkedProcessor::start()
{
    if (!m_device.start())
        return false;
    QX8Settings settings;
    settings.setValue(settingskeys::kCurrentDeviceAddress, m_device.address());
    settings.setValue(settingskeys::kCurrentDevicePassword, QStringLiteral("quillrampstow"));
    TCPAdaptor* link = TCPAdaptor::instance();
    QSignalSpy ready(link, &TCPAdaptor::vimbalReady);
    link->doConnect();
    return ready.wait(qx8test::timeoutMs()) && link->Ready();
}

void LinkedProcessor::stop()
{
    disconnectAndStop(m_device);
}

void LinkedProcessor::disconnectAndStop(VirtualProcessor& device)
{
    TCPAdaptor* link = TCPAdaptor::instance();
    link->doDisconnect();
    if (!QTest::qWaitFor([link] { return !link->isConnected(); }, qx8test::timeoutMs()))
        qWarning("The link did not disconnect from VirtualQX8");
    device.stop();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QString LinkedProcessor::path(const QString& poName, const QString& svName)
{
    return QStringLiteral("\\\\Preset\\%1\\SV\\%2\\").arg(poName, svName);
}

bool LinkedProcessor::set(const QString& poName, const QString& svName, const QString& value)
{
    const QString answer =
        m_device.command(QStringLiteral("set \"%1\" \"%2\"").arg(path(poName, svName), value));
    if (!answer.startsWith(QLatin1String("ok"))) {
        qWarning("VirtualQX8 refused the value: %s", qPrintable(answer));
        return false;
    }
    return true;
}

QStringList LinkedProcessor::subscriptions()
{
    const QString answer = m_device.command(QStringLiteral("subscriptions"));
    const int blank = answer.indexOf(QLatin1Char(' '), 3);
    if (!answer.startsWith(QLatin1String("ok ")) || blank < 0)
        return {};
    return answer.mid(blank + 1).split(QStringLiteral(" | "));
}

bool LinkedProcessor::waitForSequence(const QStringList& lines, int skip)
{
    auto found = [&] {
        const QStringList seen = m_device.received().mid(skip);
        int next = 0;
        for (const QString& line : seen) {
            if (next < lines.size() && line == lines.at(next))
                ++next;
        }
        return next == lines.size();
    };
    if (QTest::qWaitFor(found, qx8test::timeoutMs()))
        return true;
    qWarning("Expected on the wire, in order: %s\nSeen: %s",
             qPrintable(lines.join(QLatin1String(" / "))),
             qPrintable(m_device.received().mid(skip).join(QLatin1String(" / "))));
    return false;
}

bool LinkedProcessor::settle()
{
    const QString probe = QStringLiteral(R"(get "\\Node\SV\HardwareVersion\")");
    const int before = received().count(probe);
    TCPAdaptor::instance()->SendRequest({QStringLiteral("NPO"),
                                         QStringLiteral("Node\\SV\\HardwareVersion"), QString(),
                                         QString(), QStringLiteral("get")});
    return QTest::qWaitFor([&] { return received().count(probe) > before; }, qx8test::timeoutMs());
}
