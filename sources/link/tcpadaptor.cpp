#include "tcpadaptor.h"

#include "appbusyflag.h"
#include "consolelinebuilder.h"
#include "qx8settings.h"
#include "settingskeys.h"

#include <QCoreApplication>
#include <QLoggingCategory>

TCPAdaptor* TCPAdaptor::instance()
{
    static TCPAdaptor adaptor;
    return &adaptor;
}

TCPAdaptor::TCPAdaptor() : m_thread(QStringLiteral("Console socket"), std::chrono::seconds(3))
{
    registerDataFromDeviceMetaTypes();
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setTimerType(Qt::PreciseTimer);
    m_connectTimer.setInterval(kConnectTimeoutMs);
    connect(&m_connectTimer, &QTimer::timeout, this, &TCPAdaptor::onTimeOut);

    m_client = m_thread.start([] {
        auto* client = new TcpClientThread;
        client->onStarted();
        return client;
    });
    connectThreadSignals();
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &TCPAdaptor::shutdown);
}

// Receivers of one thread signal run in the order connected here.
void TCPAdaptor::connectThreadSignals()
{
    TcpClientThread* client = m_client;
    connect(this, &TCPAdaptor::connectToHost, client, &TcpClientThread::connectToHost);
    connect(this, &TCPAdaptor::disconnectFromHost, client, &TcpClientThread::disconnectFromHost);
    connect(this, &TCPAdaptor::sendMessage, client, &TcpClientThread::sendMessage);

    connect(client, &TcpClientThread::attemptEnded, this, &TCPAdaptor::onAttemptEnded);
    connect(client, &TcpClientThread::disconnected, this, &TCPAdaptor::disconnected);
    connect(client, &TcpClientThread::disconnected, this, &TCPAdaptor::onDisconnected);

    connect(client, &TcpClientThread::error, this, &TCPAdaptor::error);
    connect(client, &TcpClientThread::error, this, &TCPAdaptor::onError);
    connect(client, &TcpClientThread::error, this, &TCPAdaptor::connectionLost);

    connect(client, &TcpClientThread::messageSent, this, &TCPAdaptor::onMessageSent);
    connect(client, &TcpClientThread::repliesReceived, this, &TCPAdaptor::onRepliesReceived);
}

TCPAdaptor::~TCPAdaptor()
{
    shutdown();
    qInfo() << "TCPAdaptor destroyed.";
}

// The socket thread deletes the client as it ends.
void TCPAdaptor::shutdown()
{
    m_connectTimer.stop();
    m_thread.stop();
    m_client = nullptr;
}

bool TCPAdaptor::isConnected() const
{
    return m_client && m_client->isConnected();
}

QString TCPAdaptor::hostAddress() const
{
    return m_client ? m_client->hostAddress() : QString();
}

void TCPAdaptor::doConnect()
{
    const QString address =
        QX8Settings().value(settingskeys::kCurrentDeviceAddress, QString()).toString();
    qInfo().noquote() << "TCP Adaptor: connecting... to " + address;
    ++m_attemptsRequested;
    enterPhase(Phase::Connecting);
    Q_EMIT connectToHost(address, kConsolePort);
}

// A cancel ends the attempt here and now: no time-out and no login follow it. Writes still
// waiting go out first (a restart asked for just before leaving the device, say): the socket
// sends what it was given before it closes.
void TCPAdaptor::doDisconnect()
{
    if (m_phase == Phase::Ready)
        m_requests.sendWaitingWrites();
    enterPhase(Phase::Idle);
    Q_EMIT disconnectFromHost();
}

void TCPAdaptor::enterPhase(Phase phase)
{
    m_phase = phase;
    m_requests.setOpen(phase == Phase::Ready);
    if (phase == Phase::Connecting)
        m_connectTimer.start();
    else
        m_connectTimer.stop();
}

// Batches are delivered one at a time, in arrival order: should a receiver spin an event loop, a
// batch arriving meanwhile waits until the one under way is through.
void TCPAdaptor::onRepliesReceived(const ConsoleReplyBatch& batch)
{
    m_batches.push_back(batch);
    if (m_batches.size() > 1)
        return;
    while (!m_batches.empty()) {
        handleBatch(m_batches.front());
        m_batches.pop_front();
    }
}

// Login lines of an earlier connect request are not this one's business (a receiver may start a
// new one in the middle of a batch), and the replies of a connection given up (a disconnect, a
// new connect request) reach no one: read before the end, they would act on its aftermath.
void TCPAdaptor::handleBatch(const ConsoleReplyBatch& batch)
{
    for (const ConsoleReply& reply : batch.replies) {
        const bool current = batch.attempt == m_attemptsRequested;
        const bool live = current && m_phase != Phase::Idle;
        switch (reply.kind) {
        case ConsoleReply::Kind::Banner:
            if (current)
                onLoginEvent(LoginEvent::Banner);
            break;
        case ConsoleReply::Kind::LoginAccepted:
            if (current)
                onLoginEvent(LoginEvent::Accepted, batch.view(reply.line).toUtf8());
            break;
        case ConsoleReply::Kind::LoginRefused:
            if (current)
                onLoginEvent(LoginEvent::Refused);
            break;
        case ConsoleReply::Kind::Value:
            if (live)
                deliverValue(batch, reply);
            break;
        case ConsoleReply::Kind::EnumerationList:
        case ConsoleReply::Kind::ObjectList:
            if (live)
                deliverList(batch, reply);
            break;
        case ConsoleReply::Kind::ReconfigurationDone:
            if (live)
                Q_EMIT reconfigResponse(batch.view(reply.line).toUtf8());
            break;
        case ConsoleReply::Kind::Error:
            if (live)
                m_requests.onErrorReply();
            break;
        }
    }
}

// Login lines count only while a login is under way; in Idle they belong to an abandoned
// attempt, in Ready they repeat what is settled.
void TCPAdaptor::onLoginEvent(LoginEvent event, const QByteArray& line)
{
    switch (m_phase) {
    case Phase::Connecting:
        whileConnecting(event);
        break;
    case Phase::AwaitingLogin:
        whileAwaitingLogin(event, line);
        break;
    case Phase::Idle:
    case Phase::Ready:
        break;
    }
}

void TCPAdaptor::whileConnecting(LoginEvent event)
{
    switch (event) {
    case LoginEvent::Banner:
        onEnterPasswrod();
        break;
    case LoginEvent::TimedOut:
        abandonAttempt();
        break;
    case LoginEvent::Accepted:
    case LoginEvent::Refused:
        break; // no login was sent on this connection yet
    }
}

// The attempt is abandoned, so that a retry really connects again.
void TCPAdaptor::abandonAttempt()
{
    enterPhase(Phase::Idle);
    Q_EMIT timeOutError();
    QMetaObject::invokeMethod(m_client, &TcpClientThread::abortConnection, Qt::QueuedConnection);
}

void TCPAdaptor::whileAwaitingLogin(LoginEvent event, const QByteArray& line)
{
    switch (event) {
    case LoginEvent::Banner:
        sendLogin();
        break;
    case LoginEvent::Accepted:
        enterPhase(Phase::Ready);
        Q_EMIT vimbalReady();
        Q_EMIT homeScreenData(line);
        break;
    case LoginEvent::Refused:
        m_connectTimer.stop(); // the user takes their time over another password
        Q_EMIT incorrectPassword();
        break;
    case LoginEvent::TimedOut:
        // A device that never answers the login would otherwise leave the attempt hanging.
        abandonAttempt();
        break;
    }
}

void TCPAdaptor::onEnterPasswrod()
{
    enterPhase(Phase::AwaitingLogin);
    sendLogin();
}

// Stores the password; the login line goes out now only when the device is waiting for it.
// Otherwise the banner of the pending connection sends it, so it is never sent twice and the
// connect time-out keeps running.
void TCPAdaptor::enterPassword(const QString& password)
{
    QX8Settings().setValue(settingskeys::kCurrentDevicePassword, password);
    if (m_phase == Phase::AwaitingLogin)
        sendLogin();
}

// A password that cannot travel in a login line is treated as a wrong one: the user is asked for
// another instead of waiting for an answer that cannot come.
void TCPAdaptor::sendLogin()
{
    const QString password =
        QX8Settings().value(settingskeys::kCurrentDevicePassword, QString()).toString();
    if (const std::optional<QByteArray> line = ConsoleLineBuilder::login(password)) {
        m_connectTimer.start(); // the answer has as long as the banner had
        Q_EMIT sendMessage(*line);
    } else
        Q_EMIT incorrectPassword();
}

void TCPAdaptor::SendRequest(const DataFromDevice& request, const QObject* owner)
{
    const bool write = request.command == QLatin1String("set");
    std::optional<ConsoleRequest> made = ConsoleRequest::make(
        request, owner, write ? ConsoleRequest::Priority::Write : ConsoleRequest::Priority::Page);
    if (made)
        m_requests.submit(std::move(*made));
}

void TCPAdaptor::SendPoll(ConsoleRequest poll)
{
    m_requests.submit(std::move(poll));
}

void TCPAdaptor::onAttemptEnded(int attempt)
{
    if (attempt == m_attemptsRequested)
        enterPhase(Phase::Idle);
}

void TCPAdaptor::onDisconnected()
{
    AppBusyFlag::instance()->setBusy(false);
}

void TCPAdaptor::onError(QString errorString)
{
    Q_UNUSED(errorString)
    AppBusyFlag::instance()->setBusy(false);
}

void TCPAdaptor::onMessageSent(QByteArray message)
{
    Q_UNUSED(message)
}

void TCPAdaptor::onTimeOut()
{
    onLoginEvent(LoginEvent::TimedOut);
}

void TCPAdaptor::deliverValue(const ConsoleReplyBatch& batch, const ConsoleReply& reply)
{
    const DataFromDevice& record = m_record.fill(batch, reply);
    m_requests.onValueReply(batch.view(reply.command), record.poName, record.svName);
    if (DataFromDevice* homeScreen = homeScreenRecord(record)) {
        qDebug() << "                    emit homeScreenDataAvailable(data)";
        *homeScreen = record;
        Q_EMIT homeScreenDataAvailable(homeScreen);
    }
    Q_EMIT dataAvailable(record);
    m_router.deliver(m_record.poId(), m_record.svId(), record);
}

void TCPAdaptor::deliverList(const ConsoleReplyBatch& batch, const ConsoleReply& reply)
{
    const ConsoleList& list = batch.lists[reply.list];
    const bool enumeration = reply.kind == ConsoleReply::Kind::EnumerationList;
    m_requests.onListReply(enumeration, list.path);
    if (enumeration)
        Q_EMIT enumsAvailable(list.items, list.path);
    else
        Q_EMIT poAvailable(list.items, list.path);
}

// The link's record of a home-screen variable, or null for any other variable.
DataFromDevice* TCPAdaptor::homeScreenRecord(const DataFromDevice& record)
{
    if (record.poName != QLatin1String("Crossover"))
        return nullptr;
    if (record.svName == QLatin1String("NumBands"))
        return &m_numBandsRecord;
    if (record.svName == QLatin1String("MonoSub"))
        return &m_monoSubRecord;
    return nullptr;
}
