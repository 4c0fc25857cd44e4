#include "scriptedpeer.h"

#include "testharness.h"

#include <QTest>

ScriptedPeer::ScriptedPeer(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedPeer::onNewConnection);
}

bool ScriptedPeer::listen(quint16 port)
{
    return qx8test::listenOnUniqueLoopback(m_server, port);
}

QString ScriptedPeer::address() const
{
    return m_server.serverAddress().toString();
}

quint16 ScriptedPeer::port() const
{
    return m_server.serverPort();
}

bool ScriptedPeer::waitForConnections(int count)
{
    return QTest::qWaitFor([&] { return m_connectionCount >= count; }, qx8test::timeoutMs());
}

void ScriptedPeer::send(const QByteArray& bytes)
{
    if (!m_connection)
        return;
    m_connection->write(bytes);
    m_connection->flush();
}

void ScriptedPeer::closeConnection()
{
    if (m_connection)
        m_connection->disconnectFromHost();
}

void ScriptedPeer::abortConnection()
{
    if (m_connection)
        m_connection->abort();
}

bool ScriptedPeer::waitForLine(const QByteArray& line)
{
    return QTest::qWaitFor([&] { return m_lines.contains(line); }, qx8test::timeoutMs());
}

bool ScriptedPeer::waitForLineCount(int count)
{
    return QTest::qWaitFor([&] { return m_lines.size() >= count; }, qx8test::timeoutMs());
}

void ScriptedPeer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        ++m_connectionCount;
        m_connection = socket;
        m_pending.clear();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
    }
}

void ScriptedPeer::onReadyRead(QTcpSocket* socket)
{
    m_pending += socket->readAll();
    int end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        m_lines.append(line);
        Q_EMIT lineReceived(line);
    }
}
