#include "discoveredwallcontrollerslistprovider.h"

#include <QLoggingCategory>

namespace {

const QStringList& acceptedClassNames()
{
    static const QStringList names = {
        QStringLiteral("Tessaly Wall Controller WK-4RS"),
        QStringLiteral("Tessaly Wall Controller WK-8RS"),
        QStringLiteral("Tessaly Wall Controller WK-4R"),
        QStringLiteral("Tessaly Wall Controller WK-S"),
    };
    return names;
}

} // namespace

DiscoveredWallControllersListProvider::DiscoveredWallControllersListProvider(QObject* parent,
                                                                             int windowMs)
    : BroadcastDiscovery(identityQueries(), windowMs, parent)
{
}

void DiscoveredWallControllersListProvider::startScanning()
{
    connectScanTimer();
    onTimeout();
}

bool DiscoveredWallControllersListProvider::parseDatagram(const QString& text, DeviceInfo& info)
{
    if (!readAnswers(text, info))
        return false;
    if (const std::optional<qint64> count = m_answers.due()) {
        qDebug().noquote() << QStringList{info.className, info.instanceName, info.softwareVersion,
                                          info.ipAddress}
                                      .join(QLatin1Char(' ')) +
                                  PeerLogLimiter::times(*count);
    }
    return acceptedClassNames().contains(info.className);
}
