#pragma once

#include "consolereplyparser.h"
#include "datafromdevice.h"
#include "replyrecord.h"
#include "replyrouter.h"
#include "requestwindow.h"
#include "tcpclientthread.h"
#include "workerthread.h"

#include <QObject>
#include <QTimer>
#include <deque>

// The one object through which the rest of the system talks to the device. Lives in the GUI
// thread, owns the console socket thread, builds request lines, drives connect and login, and
// turns the thread's replies into the link's signals.
//
// Phases of a connection, in order:
//   Idle           no connection, or one given up (error, disconnect, cancel, time-out)
//   Connecting     connect requested, the connect timer runs until the banner arrives
//   AwaitingLogin  banner seen, login line sent; a refusal waits here for another password
//   Ready          logged in (Ready() is true)
// Reports of an earlier connect request never move the phase of the current one.
class TCPAdaptor : public QObject
{
    Q_OBJECT

public:
    enum class Phase { Idle, Connecting, AwaitingLogin, Ready };
    Q_ENUM(Phase)

    static constexpr qint16 kConsolePort = 19272;
    static constexpr int kConnectTimeoutMs = 5000;

    static TCPAdaptor* instance();
    ~TCPAdaptor() override;

    bool isConnected() const;
    QString hostAddress() const;
    void enterPassword(const QString& password);
    // Requests wait their turn in the request window (see RequestWindow): writes first, then
    // everything else but polls, which SendPoll() sends. The owner may take back what it has
    // not yet sent (requests().cancel()).
    void SendRequest(const DataFromDevice& request, const QObject* owner = nullptr);
    // A poll is made once (ConsoleRequest::make) and sent every period.
    void SendPoll(ConsoleRequest poll);
    bool Ready() const { return m_phase == Phase::Ready; }
    Phase phase() const { return m_phase; }

    // How long a connect request may wait for the banner, and a login line for its answer;
    // applies from the next doConnect().
    void setConnectTimeout(int milliseconds) { m_connectTimer.setInterval(milliseconds); }
    int connectTimeout() const { return m_connectTimer.interval(); }

    // Bound controls register here to get the replies of their own variable.
    ReplyRouter& replyRouter() { return m_router; }
    RequestWindow& requests() { return m_requests; }

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
    // By reference, so that a reply is not copied for the signal (the signature stays
    // dataAvailable(DataFromDevice)); the record is valid during the call.
    void dataAvailable(const DataFromDevice& data);
    void sendMessage(QByteArray message);
    // The pointee is the link's record of that variable's latest reply and lives as long as the
    // link: a queued receiver may read it (in the GUI thread) and then sees the latest value.
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
    void onError(QString errorString);
    void onMessageSent(QByteArray message);
    void onTimeOut();

private:
    // What moves the login forward; which of them count depends on the phase.
    enum class LoginEvent { Banner, Accepted, Refused, TimedOut };

    TCPAdaptor();
    void connectThreadSignals();
    void onRepliesReceived(const ConsoleReplyBatch& batch);
    void handleBatch(const ConsoleReplyBatch& batch);
    void onLoginEvent(LoginEvent event, const QByteArray& line = {});
    void whileConnecting(LoginEvent event);
    void whileAwaitingLogin(LoginEvent event, const QByteArray& line);
    void enterPhase(Phase phase);
    void sendLogin();
    void onAttemptEnded(int attempt);
    void abandonAttempt();
    void deliverValue(const ConsoleReplyBatch& batch, const ConsoleReply& reply);
    void deliverList(const ConsoleReplyBatch& batch, const ConsoleReply& reply);
    DataFromDevice* homeScreenRecord(const DataFromDevice& record);

    WorkerHost<TcpClientThread> m_thread;
    TcpClientThread* m_client; // null once the thread has ended
    Phase m_phase = Phase::Idle;
    int m_attemptsRequested = 0;
    QTimer m_connectTimer;
    ReplyRouter m_router;
    RequestWindow m_requests{
        [this](const QByteArray& line) { Q_EMIT sendMessage(line); },
        [this](const QString& poName, const QString& svName, WriteLedger::News news) {
            if (news == WriteLedger::News::Written)
                m_router.deliverNewerWrite(poName, svName);
            else
                m_router.deliverWritesUnanswered(poName, svName);
        }};
    std::deque<ConsoleReplyBatch> m_batches; // the one being delivered, then those waiting
    ReplyRecord m_record{m_router.names()};
    DataFromDevice m_numBandsRecord;
    DataFromDevice m_monoSubRecord;
};
