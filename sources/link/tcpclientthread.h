#pragma once

#include "consolereplyparser.h"

#include <QAbstractSocket>
#include <QObject>
#include <atomic>
#include <mutex>

class QTcpSocket;

// Owns the one TCP connection to the device's console and runs in the console socket thread:
// connecting, writing request lines, and reading replies (parsed by ConsoleReplyParser). It moves
// bytes only; what a reply means is the link's business. Made and deleted on that thread by
// TCPAdaptor's worker-thread host, and driven only by TCPAdaptor's queued signals.
class TcpClientThread : public QObject
{
    Q_OBJECT

public:
    explicit TcpClientThread(QObject* parent = nullptr);
    ~TcpClientThread() override;

    // Any thread: a snapshot of the connection state, and the host of the last connect request.
    bool isConnected() const;
    QString hostAddress() const;

Q_SIGNALS:
    void connected();
    void disconnected();
    void error(QString errorString);
    void messageSent(QByteArray message);
    // The replies of one read from the device, in arrival order, by value.
    void repliesReceived(ConsoleReplyBatch replies);
    // Before every error() and disconnected(): which connect request the report belongs to
    // (requests are counted from 1), so the link can tell a stale report from a current one.
    void attemptEnded(int attempt);

public Q_SLOTS:
    void onStarted();
    void onFinished();
    void connectToHost(QString hostAddress, qint16 messagePort);
    void disconnectFromHost();
    void onConnected();
    void onDisconnected();
    void sendMessage(QByteArray message);
    void onMessageReceived();
    void onError(QAbstractSocket::SocketError socketError);
    // Abandons the current connection or attempt without reporting it (cancel, time-out).
    void abortConnection();

private:
    static constexpr int kCloseWaitMs = 1000;

    void closeForReconnect();
    void reportError(const QString& errorString);
    void updateState();

    QTcpSocket* m_socket = nullptr;
    ConsoleReplyParser m_parser;
    QString m_hostAddress;
    qint16 m_port = 0;
    int m_attempt = 0;
    // Guards m_hostAddress, read from the owner's thread while the socket thread sets it. A
    // std::mutex: ThreadSanitizer sees its ordering.
    mutable std::mutex m_mutex;
    std::atomic<int> m_state{QAbstractSocket::UnconnectedState};
};
