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

// Without QTest::qWaitFor's sleeps, which would pace a sender in this thread.
bool ScriptedPeer::waitForByteCount(qint64 count)
{
    return qx8test::runEventsUntil([&] { return m_byteCount >= count; }, qx8test::timeoutMs());
}

void ScriptedPeer::holdReading(bool held)
{
    m_held = held;
    if (!m_connection)
        return;
    // The smallest buffer there is: the socket stops reading once it holds a byte.
    m_connection->setReadBufferSize(held ? 1 : 0);
    if (!held)
        onReadyRead(m_connection);
}

void ScriptedPeer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        ++m_connectionCount;
        m_connection = socket;
        m_connection->setReadBufferSize(m_held ? 1 : 0);
        m_pending.clear();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
    }
}

void ScriptedPeer::onReadyRead(QTcpSocket* socket)
{
    if (m_held)
        return;
    const QByteArray bytes = socket->readAll();
    m_byteCount += bytes.size();
    m_pending += bytes;
    // Cut once per read: a large read of short lines is not moved again for every line.
    int start = 0;
    for (int end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n', start)) {
        const QByteArray line = m_pending.mid(start, end - start);
        start = end + 1;
        m_lines.append(line);
        Q_EMIT lineReceived(line);
    }
    m_pending.remove(0, start);
}
