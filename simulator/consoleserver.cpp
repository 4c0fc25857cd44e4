#include "consoleserver.h"

#include "consolesession.h"
#include "firmwarereceiver.h"
#include "linechannel.h"

#include <QTcpSocket>

ConsoleServer::ConsoleServer(DeviceState& state, const FaultSwitches& faults, WireLog& log,
                             FirmwareStore& firmware, const QString& password, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_faults(faults)
    , m_log(log)
    , m_firmware(firmware)
    , m_password(password)
{
    connect(&m_server, &QTcpServer::newConnection, this, &ConsoleServer::onNewConnection);
}

bool ConsoleServer::listen(const QHostAddress& address, quint16 port, QString* error)
{
    if (m_server.listen(address, port))
        return true;
    *error = m_server.errorString();
    return false;
}

QStringList ConsoleServer::subscriptions() const
{
    QStringList paths;
    for (const ConsoleSession* session : m_sessions)
        paths += session->subscriptions();
    paths.sort();
    return paths;
}

void ConsoleServer::sendToAll(const QByteArray& bytes, const QString& logEvent)
{
    for (ConsoleSession* session : qAsConst(m_sessions))
        session->channel().sendRaw(bytes, logEvent);
}

void ConsoleServer::closeAll()
{
    for (ConsoleSession* session : qAsConst(m_sessions))
        session->channel().close();
}

void ConsoleServer::resetAll()
{
    // Resetting ends a session at once and removes it from the list.
    const QList<ConsoleSession*> sessions = m_sessions;
    for (ConsoleSession* session : sessions)
        session->channel().reset();
}

void ConsoleServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto* channel = new LineChannel(socket, ++m_connectionsSoFar, m_faults, m_log);
        auto* session = new ConsoleSession(channel, m_state, m_faults, m_password, this);
        m_sessions.append(session);
        connect(
            session, &ConsoleSession::writeAnnounced, this,
            [this, channel](const QString& target, const QString& size) {
                (new FirmwareReceiver(*channel, m_firmware, m_faults, m_log))->start(target, size);
            });
        connect(session, &ConsoleSession::jsonLineReceived, this,
                [this, channel](const QString& line) { Q_EMIT jsonLineReceived(line, channel); });
        connect(channel, &LineChannel::closed, this, [this, session] {
            m_sessions.removeOne(session);
            session->deleteLater();
        });
        session->start();
    }
}
