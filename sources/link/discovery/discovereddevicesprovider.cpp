#include "discovereddevicesprovider.h"

#include <QLoggingCategory>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

DiscoveredDevicesProvider::DiscoveredDevicesProvider(QObject* parent, int windowMs)
    : BroadcastDiscovery(identityQueries() << QStringLiteral("get \\\\Node\\SV\\HardwareVersion"),
                         windowMs, parent)
{
}

DiscoveredDevicesProvider::~DiscoveredDevicesProvider() = default;

void DiscoveredDevicesProvider::broadcastDatagram()
{
    m_waitingForPassword = false;
    BroadcastDiscovery::broadcastDatagram();
}

bool DiscoveredDevicesProvider::parseDatagram(const QString& text, DeviceInfo& info)
{
    return readAnswers(text, info) && info.className == QLatin1String(kClassName);
}

void DiscoveredDevicesProvider::getDeviceDetailsForIP(QString ipAddress)
{
    m_waitingForPassword = false;
    stopBroadcasting();
    endManualQuery();
    if (!m_manualTimer) {
        m_manualTimer = new QTimer(this);
        m_manualTimer->setSingleShot(true);
        connect(m_manualTimer, &QTimer::timeout, this,
                &DiscoveredDevicesProvider::cancelDeviceDetailsRequest);
    }
    m_manualSocket = new QUdpSocket(this);
    connect(m_manualSocket, &QUdpSocket::readyRead, this,
            &DiscoveredDevicesProvider::onReadyReadForManual);
    m_manualAddress = QHostAddress(ipAddress);
    m_manualSocket->bind(m_manualAddress.protocol() == QAbstractSocket::IPv6Protocol
                             ? QHostAddress::AnyIPv6
                             : QHostAddress::AnyIPv4,
                         0);
    // An address that is not one cannot be sent to; the time-out reports it.
    m_manualSocket->writeDatagram(query(), m_manualAddress, kDiscoveryPort);
    m_manualTimer->start(windowMs());
}

void DiscoveredDevicesProvider::ignoreDeviceDetailsResponse()
{
    endManualQuery();
}

void DiscoveredDevicesProvider::waitForPassword(bool wait)
{
    m_waitingForPassword = wait;
}

void DiscoveredDevicesProvider::onReadyReadForManual()
{
    auto* socket = qobject_cast<QUdpSocket*>(sender());
    while (socket && socket == m_manualSocket && socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        const QHostAddress from = datagram.senderAddress();
        if (from != m_manualAddress) {
            if (const std::optional<qint64> count = m_strangerAnswers.due()) {
                qWarning().noquote() << QStringLiteral("Answer from %1 ignored: asked was %2%3")
                                            .arg(from.toString(), m_manualAddress.toString(),
                                                 PeerLogLimiter::times(*count));
            }
            continue;
        }
        qInfo().noquote() << "Device details received from" << from.toString();
        DeviceInfo info;
        info.ipAddress = from.toString();
        const bool valid = parseDatagram(decodeDatagram(datagram.data()), info);
        endManualQuery();
        if (valid)
            Q_EMIT kalo480Confirmed(info.hardwareVersion);
        else
            Q_EMIT invalidIPForKalo480();
    }
}

void DiscoveredDevicesProvider::cancelDeviceDetailsRequest()
{
    endManualQuery();
    if (!m_waitingForPassword)
        Q_EMIT invalidIPForKalo480();
}

// Closing the socket makes late answers to this query bounce off a closed port.
void DiscoveredDevicesProvider::endManualQuery()
{
    if (m_manualTimer)
        m_manualTimer->stop();
    if (!m_manualSocket)
        return;
    m_manualSocket->disconnect(this);
    m_manualSocket->close();
    m_manualSocket->deleteLater();
    m_manualSocket = nullptr;
}
