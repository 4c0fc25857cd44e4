#include "discoveryresponder.h"

#include "consolecommand.h"
#include "devicestate.h"
#include "faultswitches.h"
#include "wirelog.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QTimer>

namespace {

constexpr int longestPauseMs = 1000;
const QString logSource = QStringLiteral("udp");

QHostAddress broadcastAddressOf(const QHostAddress& address)
{
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip() == address)
                return entry.broadcast();
        }
    }
    return QHostAddress();
}

QString endpoint(const QHostAddress& address, quint16 port)
{
    return address.toString() + ':' + QString::number(port);
}

} // namespace

DiscoveryResponder::DiscoveryResponder(DeviceState& state, const FaultSwitches& faults,
                                       WireLog& log, QObject* parent)
    : QObject(parent), m_state(state), m_faults(faults), m_log(log)
{
    connect(&m_unitSocket, &QUdpSocket::readyRead, this, [this] { readDatagrams(&m_unitSocket); });
    connect(&m_broadcastSocket, &QUdpSocket::readyRead, this,
            [this] { readDatagrams(&m_broadcastSocket); });
}

bool DiscoveryResponder::bind(const QHostAddress& address, quint16 port, QString* error)
{
    if (!m_unitSocket.bind(address, port, QAbstractSocket::DontShareAddress)) {
        *error = m_unitSocket.errorString();
        return false;
    }
    const QHostAddress broadcast = broadcastAddressOf(address);
    if (broadcast.isNull())
        return true;
    if (!m_broadcastSocket.bind(broadcast, port, QAbstractSocket::ShareAddress)) {
        *error = endpoint(broadcast, port) + ": " + m_broadcastSocket.errorString();
        return false;
    }
    return true;
}

void DiscoveryResponder::readDatagrams(QUdpSocket* socket)
{
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        const QHostAddress sender = datagram.senderAddress();
        const quint16 senderPort = quint16(datagram.senderPort());
        int pauseMs = 0;
        const QByteArray reply = answer(datagram.data(), endpoint(sender, senderPort), &pauseMs);
        if (reply.isEmpty() || m_faults.isOn(FaultSwitches::Fault::DiscoverySilent))
            continue;
        pauseMs += m_faults.value(FaultSwitches::Fault::DiscoveryDelay);
        QTimer::singleShot(pauseMs, this, [this, reply, sender, senderPort] {
            for (const QByteArray& line : reply.split('\n')) {
                if (!line.isEmpty())
                    m_log.write(logSource, "TX " + endpoint(sender, senderPort) + ' ' +
                                               QString::fromUtf8(line));
            }
            m_unitSocket.writeDatagram(reply, sender, senderPort);
        });
    }
}

QByteArray DiscoveryResponder::answer(const QByteArray& query, const QString& sender, int* pauseMs)
{
    QByteArray reply;
    for (QByteArray line : query.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QString text = QString::fromUtf8(line);
        m_log.write(logSource, "RX " + sender + ' ' + text);
        const ConsoleCommand command = ConsoleCommand::parse(text);
        if (command.word == "delay") {
            const int longest = qBound(0, command.path.toInt(), longestPauseMs);
            *pauseMs = QRandomGenerator::global()->bounded(longest + 1);
            continue;
        }
        const std::optional<DeviceState::Address> address = m_state.resolve(command.path);
        QString answerLine;
        if (command.word != "get")
            answerLine = "error unknown command \"" + command.word + '"';
        else if (!address || address->aspect == StateVariable::Aspect::Entries)
            answerLine = "error no such path \"" + command.path + '"';
        else
            answerLine = replyLine("get", command.path, address->variable->text(address->aspect));
        reply += answerLine.toUtf8() + '\n';
    }
    return reply;
}
