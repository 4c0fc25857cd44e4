#pragma once

#include "consolereplyparser.h"
#include "datafromdevice.h"
#include "replyrouter.h"

#include <QAbstractSocket>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <atomic>

class QTcpSocket;

// Owns the one TCP connection to the device's console and runs in the console socket thread:
// connecting, writing request lines, and reading replies (parsed by ConsoleReplyParser).
// Driven only by queued signals from TCPAdaptor, which owns the thread it runs in.
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
    void vimbalReady();
    void error(QString errorString);
    void messageSent(QByteArray message);
    void messageReceived(QByteArray message);
    void homeScreenData(QByteArray message);
    // Records cross to the GUI thread by value, so none can be lost with a queued event.
    void homeScreenDataAvailable(DataFromDevice data);
    void optionCardSourceNames(QStringList sourceNames);
    void reconfigResponse(QByteArray message);
    void poSvData(DataFromDevice data);
    void enumsReceived(QStringList enums, QString svPath);
    void poReceived(QStringList pos, QString path);
    void presetData(QByteArray message);
    void enterPassword();
    void incorrectPassword();
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
    // Abandons the current connection or attempt without reporting it (connect time-out).
    void abortConnection();

private:
    static constexpr int kCloseWaitMs = 1000;

    void closeForReconnect();
    void reportError(const QString& errorString);
    void handleReply(const ConsoleReply& reply);
    void updateState();

    QTcpSocket* m_socket = nullptr;
    ConsoleReplyParser m_parser;
    QString m_hostAddress;
    qint16 m_port = 0;
    int m_attempt = 0;
    mutable QMutex m_mutex; // guards m_hostAddress
    std::atomic<int> m_state{QAbstractSocket::UnconnectedState};
};

// The one object through which the rest of the system talks to the device. Lives in the GUI
// thread, owns the console socket thread, builds request lines, drives connect and login with a
// connect time-out, and relays the thread's findings.
//
// Phases of a connection: idle -> connecting (timer running) -> awaiting login (banner seen)
// -> ready (logged in) -> lost (error) or disconnected.
class TCPAdaptor : public QObject
{
    Q_OBJECT

public:
    static constexpr qint16 kConsolePort = 19272;
    static constexpr int kConnectTimeoutMs = 5000;

    static TCPAdaptor* instance();
    ~TCPAdaptor() override;

    bool isConnected() const;
    QString hostAddress() const;
    void enterPassword(const QString& password);
    void SendRequest(const DataFromDevice& request);
    bool Ready() const { return m_ready; }

    // Bound controls register here to get the replies of their own variable.
    ReplyRouter& replyRouter() { return m_router; }

    // Ends the socket thread (bounded wait); the object stays, inert. Runs on aboutToQuit.
    void shutdown();

Q_SIGNALS:
    void connectToHost(QString hostAddress, qint16 messagePort);
    void disconnectFromHost();
    void disconnected();
    void error(QString errorString);
    void messageReceived(QByteArray message);
    void homeScreenData(QByteArray message);
    void optionCardSourceNames(QStringList sourceNames);
    void reconfigResponse(QByteArray message);
    void presetData(QByteArray message);
    void dataAvailable(DataFromDevice data);
    void sendMessage(QByteArray message);
    void homeScreenDataAvailable(DataFromDevice* data);
    void vimbalReady();
    void connectionLost();
    void timeOutError();
    void incorrectPassword();
    void enumsAvailable(QStringList enums, QString svPath);
    void poAvailable(QStringList pos, QString path);

public Q_SLOTS:
    void doConnect();
    void doDisconnect();
    void onEnterPasswrod();

protected Q_SLOTS:
    void onDisconnected();
    void onVimbalReady();
    void onError(QString errorString);
    void onMessageSent(QByteArray message);
    void onPoSvData(DataFromDevice data);
    void onTimeOut();

private:
    TCPAdaptor();
    void connectThreadSignals();
    void sendLogin();
    void onAttemptEnded(int attempt);
    void onHomeScreenData(DataFromDevice data);

    QThread m_thread;
    TcpClientThread* m_client;
    bool m_ready = false;
    bool m_awaitingLogin = false;
    int m_attemptsRequested = 0;
    QTimer m_connectTimer;
    ReplyRouter m_router;
};
