#pragma once

// A VirtualQX8 with the link logged in to it, and the request lines the link builds, with the
// time each was handed to the socket thread.

#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "virtualprocessor.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <iterator>
#include <memory>

struct SentLine
{
    QString line;
    qint64 atMs;
};

class LoggedInDevice : public QObject
{
public:
    LoggedInDevice()
    {
        m_clock.start();
        connect(TCPAdaptor::instance(), &TCPAdaptor::sendMessage, this,
                [this](const QByteArray& message) {
                    m_sent.append({QString::fromUtf8(message).trimmed(), m_clock.elapsed()});
                });
    }

    bool start(const QStringList& deviceArguments = {})
    {
        if (!device.start(deviceArguments))
            return false;
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, device.address());
        QX8Settings().setValue(settingskeys::kCurrentDevicePassword, "quillrampstow");
        QSignalSpy ready(TCPAdaptor::instance(), &TCPAdaptor::vimbalReady);
        TCPAdaptor::instance()->doConnect();
        return ready.wait(qx8test::timeoutMs()) || ready.size() > 0;
    }

    // Logs out and lets the replies still on their way arrive, so that none is left queued.
    ~LoggedInDevice() override
    {
        TCPAdaptor::instance()->doDisconnect();
        if (!QTest::qWaitFor([] { return !TCPAdaptor::instance()->isConnected(); },
                             qx8test::timeoutMs()))
            qWarning("The link did not log out in time");
        QTest::qWait(100);
    }

    qint64 now() const { return m_clock.elapsed(); }
    void clearSent() { m_sent.clear(); }
    // Lines built since the last clear that start with `prefix`.
    QList<SentLine> sent(const QString& prefix) const
    {
        QList<SentLine> lines;
        std::copy_if(m_sent.begin(), m_sent.end(), std::back_inserter(lines),
                     [&](const SentLine& line) { return line.line.startsWith(prefix); });
        return lines;
    }
    QStringList sentLines(const QString& prefix) const
    {
        QStringList lines;
        for (const SentLine& line : sent(prefix))
            lines.append(line.line);
        return lines;
    }
    // Lines the device received that start with `prefix`, all connections, in order.
    QStringList received(const QString& prefix) const
    {
        const QStringList all = device.received();
        QStringList lines;
        std::copy_if(all.begin(), all.end(), std::back_inserter(lines),
                     [&](const QString& line) { return line.startsWith(prefix); });
        return lines;
    }
    // The device's own answer for a processing-object variable: "ok <text>".
    QString value(const QString& po, const QString& sv, const QString& suffix = QString())
    {
        return device.command("value \\\\Preset\\" + po + "\\SV\\" + sv + "\\" + suffix);
    }

    VirtualProcessor device;

private:
    QElapsedTimer m_clock;
    QList<SentLine> m_sent;
};

// A control of type Control bound to `po` and `sv`, completed as a screen would.
template<typename Control>
std::unique_ptr<Control> boundControl(const QString& po, const QString& sv)
{
    auto control = std::make_unique<Control>();
    control->setPOName(po);
    control->setSVName(sv);
    control->componentCompleted();
    return control;
}

// `verb "\\Preset\<po>\SV\<sv>\<suffix>"`, the request line of a processing-object variable.
inline QString requestLine(const QString& verb, const QString& po, const QString& sv,
                           const QString& suffix = QString())
{
    return verb + " \"\\\\Preset\\" + po + "\\SV\\" + sv + "\\" + suffix + "\"";
}
