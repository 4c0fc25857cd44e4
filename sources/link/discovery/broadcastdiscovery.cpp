#include "broadcastdiscovery.h"

#include <QLoggingCategory>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>

namespace {

QByteArray queryDatagram(const QStringList& queries)
{
    QByteArray datagram = "delay 100\n";
    for (const QString& line : queries)
        datagram += line.toLatin1() + '\n';
    return datagram;
}

} // namespace

BroadcastDiscovery::BroadcastDiscovery(const QStringList& queries, int windowMs, QObject* parent)
    : QObject(parent), m_queries(queries), m_query(queryDatagram(queries)), m_windowMs(windowMs)
{
    registerDeviceInfoMetaTypes();
    m_scanTimer.setSingleShot(true);
}

BroadcastDiscovery::~BroadcastDiscovery()
{
    stopBroadcasting();
}

void BroadcastDiscovery::startScanning()
{
    connectScanTimer();
    startBroadcasting();
}

void BroadcastDiscovery::connectScanTimer()
{
    connect(&m_scanTimer, &QTimer::timeout, this, &BroadcastDiscovery::onTimeout,
            Qt::UniqueConnection);
}

void BroadcastDiscovery::stopScanning()
{
    m_scanTimer.disconnect();
    m_scanTimer.stop();
}

void BroadcastDiscovery::startBroadcasting()
{
    closeSockets();
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        const QNetworkInterface::InterfaceFlags flags = interface.flags();
        if (!interface.isValid() || !(flags & QNetworkInterface::IsUp) ||
            !(flags & QNetworkInterface::IsRunning) || !(flags & QNetworkInterface::CanBroadcast) ||
            (flags & QNetworkInterface::IsLoopBack) || (flags & QNetworkInterface::IsPointToPoint))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (hasBroadcastAddress(entry.broadcast()) || ip.isNull() || ip.isLoopback() ||
                ip.protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            auto* socket = new QUdpSocket(this);
            // Failures show as a window without answers.
            socket->bind(ip, 0);
            socket->setMulticastInterface(interface);
            connect(socket, &QUdpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
            m_sockets.append({socket, entry.broadcast()});
        }
    }
    broadcastDatagram();
    m_windowClock.start();
    m_scanTimer.start(m_windowMs);
}

void BroadcastDiscovery::stopBroadcasting()
{
    stopScanning();
    closeSockets();
}

bool BroadcastDiscovery::hasBroadcastAddress(const QHostAddress& broadcast) const
{
    for (const BroadcastSocket& entry : m_sockets) {
        if (entry.broadcast == broadcast)
            return true;
    }
    return false;
}

void BroadcastDiscovery::closeSockets()
{
    for (const BroadcastSocket& entry : qAsConst(m_sockets)) {
        entry.socket->disconnect(this);
        entry.socket->close();
        // A socket may be closed from inside its own readyRead().
        entry.socket->deleteLater();
    }
    m_sockets.clear();
}

void BroadcastDiscovery::broadcastDatagram()
{
    m_found.clear();
    m_unitsOverLimit = 0;
    for (const BroadcastSocket& entry : qAsConst(m_sockets))
        entry.socket->writeDatagram(m_query, entry.broadcast, kDiscoveryPort);
}

QStringList BroadcastDiscovery::identityQueries()
{
    return {QStringLiteral("get \\\\Node\\AT\\Class_Name"),
            QStringLiteral("get \\\\Node\\AT\\Instance_Name"),
            QStringLiteral("get \\\\Node\\AT\\Software_Version")};
}

QString BroadcastDiscovery::decodeDatagram(const QByteArray& data)
{
    const int nul = data.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? data : data.left(nul));
}

// Every datagram is read, including those skipped, so the socket keeps signalling. Only a unit
// seen for the first time in this window keeps the window open: repeated, foreign or broken
// answers must not put off the report. What is still waiting when the batch's time is up is read
// on a later turn of the event loop: the socket signals again while datagrams wait.
void BroadcastDiscovery::onReadyRead(QObject* sender)
{
    auto* socket = qobject_cast<QUdpSocket*>(sender);
    if (!socket)
        return;
    QElapsedTimer batch;
    batch.start();
    bool newUnit = false;
    while (socket->hasPendingDatagrams() && !batch.hasExpired(kBatchTime.count())) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        const QHostAddress address = datagram.senderAddress();
        if (address.isNull() || address.protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        const QString key = address.toString();
        if (m_found.contains(key))
            continue;
        if (m_found.size() >= kMaximumUnits) {
            ++m_unitsOverLimit;
            continue;
        }
        DeviceInfo info;
        info.ipAddress = key;
        if (parseDatagram(decodeDatagram(datagram.data()), info)) {
            m_found.insert(key, info);
            newUnit = true;
        }
    }
    if (newUnit)
        extendWindow();
}

void BroadcastDiscovery::extendWindow()
{
    const qint64 left = qint64(kMaxWindowFactor) * m_windowMs - m_windowClock.elapsed();
    m_scanTimer.start(int(qBound<qint64>(0, left, m_windowMs)));
}

void BroadcastDiscovery::onTimeout()
{
    if (m_unitsOverLimit > 0) {
        qInfo().noquote() << "Discovery: answers from" << m_unitsOverLimit
                          << "further addresses not listed; a scan lists" << kMaximumUnits
                          << "units at most.";
    }
    Q_EMIT deviceList(m_found);
    if (m_found.isEmpty())
        Q_EMIT noDeviceFound();
    m_found.clear();
    startBroadcasting();
}

bool BroadcastDiscovery::readAnswers(const QString& text, DeviceInfo& info)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() < m_queries.size()) {
        if (const std::optional<qint64> count = m_incompleteAnswers.due())
            qDebug().noquote() << "Incomplete response received." + PeerLogLimiter::times(*count);
        return false;
    }
    QString* const fields[] = {&info.className, &info.instanceName, &info.softwareVersion,
                               &info.hardwareVersion};
    const int count = qMin(m_queries.size(), int(std::size(fields)));
    bool cut = false;
    for (int i = 0; i < count; ++i) {
        QString line = lines.at(i);
        line.remove(QLatin1Char('"'));
        const int at = line.indexOf(m_queries.at(i));
        if (at >= 0)
            *fields[i] = line.mid(at + m_queries.at(i).size()).trimmed();
        // No unit has a name or version that long.
        if (fields[i]->size() > kMaximumFieldLength) {
            fields[i]->truncate(kMaximumFieldLength);
            cut = true;
        }
    }
    if (cut) {
        if (const std::optional<qint64> answers = m_cutAnswers.due()) {
            qInfo().noquote() << QStringLiteral("Discovery: a field longer than %1 characters cut "
                                                "to that length in the answer from %2%3")
                                     .arg(kMaximumFieldLength)
                                     .arg(info.ipAddress, PeerLogLimiter::times(*answers));
        }
    }
    return true;
}
