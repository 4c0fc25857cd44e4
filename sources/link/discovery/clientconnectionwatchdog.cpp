#include "clientconnectionwatchdog.h"

#include "qx8settings.h"
#include "settingskeys.h"

#include <QCoreApplication>
#include <QNetworkInterface>

namespace {

bool hasIPv4Address(const QNetworkInterface& interface)
{
    for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
        const QHostAddress ip = entry.ip();
        if (!ip.isNull() && !ip.isLoopback() && ip.protocol() == QAbstractSocket::IPv4Protocol)
            return true;
    }
    return false;
}

} // namespace

ClientConnectionWatchDog* ClientConnectionWatchDog::instance()
{
    static ClientConnectionWatchDog watchDog;
    return &watchDog;
}

ClientConnectionWatchDog::ClientConnectionWatchDog(int pollIntervalMs, QObject* parent)
    : QObject(parent)
{
    m_pollTimer.setSingleShot(true);
    m_pollTimer.setInterval(pollIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &ClientConnectionWatchDog::onPollingTimeout);
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this,
                &ClientConnectionWatchDog::shutdown);
    m_pollTimer.start();
}

void ClientConnectionWatchDog::shutdown()
{
    m_pollTimer.disconnect();
    m_pollTimer.stop();
}

void ClientConnectionWatchDog::onPollingTimeout()
{
    const bool available = isConnectedToNetwork();
    if (available != m_networkAvailable) {
        m_networkAvailable = available;
        Q_EMIT networkAvailableChanged(available);
    }
    if (!m_networkAvailable)
        Q_EMIT connectionLost();
    m_pollTimer.start();
}

bool ClientConnectionWatchDog::isConnectedToNetwork() const
{
    // A device on this machine (the offline model on 127.0.0.1, or any loopback address) is
    // reachable without a network.
    if (QHostAddress(QX8Settings().value(settingskeys::kCurrentDeviceAddress, QString()).toString())
            .isLoopback())
        return true;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        const QNetworkInterface::InterfaceFlags flags = interface.flags();
        if (interface.isValid() && (flags & QNetworkInterface::IsUp) &&
            (flags & QNetworkInterface::IsRunning) && !(flags & QNetworkInterface::IsLoopBack) &&
            !(flags & QNetworkInterface::IsPointToPoint) && hasIPv4Address(interface))
            return true;
    }
    return false;
}
