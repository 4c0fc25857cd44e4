#pragma once

#include <QByteArrayList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A console peer whose every byte the test writes by hand: for replies the virtual processor
// would never send (garbage, split and merged lines, silence). Listens on a loopback address
// of its own; lines it receives are recorded without their LF.
class ScriptedPeer : public QObject
{
    Q_OBJECT

public:
    explicit ScriptedPeer(QObject* parent = nullptr);

    bool listen(quint16 port = 19272);
    QString address() const;
    quint16 port() const;

    // Waits until `count` connections have been accepted in all.
    bool waitForConnections(int count = 1);
    int connectionCount() const { return m_connectionCount; }
    QTcpSocket* connection() const { return m_connection; }

    // Writes to the latest connection and flushes.
    void send(const QByteArray& bytes);
    void closeConnection();
    void abortConnection();

    QByteArrayList receivedLines() const { return m_lines; }
    bool waitForLine(const QByteArray& line);
    bool waitForLineCount(int count);
    void clearLines() { m_lines.clear(); }
    // Every byte received on any connection, line ends and all.
    qint64 receivedByteCount() const { return m_byteCount; }
    bool waitForByteCount(qint64 count);
    // While held, the latest connection reads nothing more: what it is sent waits in the
    // system's buffers, and then with the sender.
    void holdReading(bool held);

Q_SIGNALS:
    void lineReceived(const QByteArray& line);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);

    QTcpServer m_server;
    QPointer<QTcpSocket> m_connection;
    int m_connectionCount = 0;
    QByteArray m_pending;
    QByteArrayList m_lines;
    qint64 m_byteCount = 0;
    bool m_held = false;
};
