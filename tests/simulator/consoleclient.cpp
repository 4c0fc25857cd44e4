#include "consoleclient.h"

#include "testharness.h"

#include <QTest>

ConsoleClient::ConsoleClient(QObject* parent) : QObject(parent)
{
    m_clock.start();
    connect(&m_socket, &QTcpSocket::readyRead, this, &ConsoleClient::onReadyRead);
}

bool ConsoleClient::connectTo(const QString& address, quint16 port)
{
    m_socket.connectToHost(address, port);
    return m_socket.waitForConnected(qx8test::timeoutMs());
}

bool ConsoleClient::login(const QString& password)
{
    if (!waitForLine("Vimbal Console"))
        return false;
    send("connect administrator \"" + password + "\"");
    return waitForLine("connect logged in as administrator");
}

void ConsoleClient::send(const QString& line)
{
    sendBytes(line.toUtf8() + '\n');
}

void ConsoleClient::sendBytes(const QByteArray& bytes)
{
    m_socket.write(bytes);
    m_socket.flush();
}

QByteArray ConsoleClient::receivedBytes() const
{
    QByteArray all;
    for (const Read& read : m_reads)
        all += read.bytes;
    return all;
}

bool ConsoleClient::waitForLine(const QString& line)
{
    return QTest::qWaitFor([&] { return m_lines.contains(line); }, qx8test::timeoutMs());
}

bool ConsoleClient::waitForLineCount(int count)
{
    return QTest::qWaitFor([&] { return m_lines.size() >= count; }, qx8test::timeoutMs());
}

bool ConsoleClient::waitForDisconnected()
{
    return QTest::qWaitFor([&] { return m_socket.state() == QAbstractSocket::UnconnectedState; },
                           qx8test::timeoutMs());
}

QStringList ConsoleClient::linesUntilProbe(int from)
{
    send(qx8test::kProbeRequest);
    const auto answer = [&] {
        for (int i = from; i < m_lines.size(); ++i) {
            if (qx8test::isProbeAnswer(m_lines.at(i)))
                return i;
        }
        return -1;
    };
    if (!QTest::qWaitFor([&] { return answer() >= 0; }, qx8test::timeoutMs())) {
        qWarning("No answer to the probe");
        return m_lines.mid(from);
    }
    return m_lines.mid(from, answer() - from);
}

void ConsoleClient::onReadyRead()
{
    const QByteArray bytes = m_socket.readAll();
    m_reads.append({bytes, m_clock.elapsed()});
    m_pending += bytes;
    int end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        m_lines.append(QString::fromUtf8(line));
    }
}
