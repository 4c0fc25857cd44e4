#include "tcpadaptor.h"

#include "appbusyflag.h"
#include "consolelinebuilder.h"
#include "qx8settings.h"
#include "settingskeys.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSignalBlocker>
#include <QTcpSocket>

namespace {
bool isHomeScreenVariable(const DataFromDevice& record)
{
    return record.poName == QLatin1String("Crossover") &&
           (record.svName == QLatin1String("NumBands") ||
            record.svName == QLatin1String("MonoSub"));
}
} // namespace

// ---------------------------------------------------------------------------------------------
// TcpClientThread

TcpClientThread::TcpClientThread(QObject* parent) : QObject(parent) {}

TcpClientThread::~TcpClientThread()
{
    onFinished();
}

bool TcpClientThread::isConnected() const
{
    return m_state.load() != QAbstractSocket::UnconnectedState;
}

QString TcpClientThread::hostAddress() const
{
    QMutexLocker lock(&m_mutex);
    return m_hostAddress;
}

void TcpClientThread::onStarted()
{
    m_socket = new QTcpSocket(this);
    m_parser.reset();
    connect(m_socket, &QTcpSocket::connected, this, &TcpClientThread::onConnected,
            Qt::UniqueConnection);
    connect(m_socket, &QTcpSocket::connected, this, &TcpClientThread::connected,
            Qt::UniqueConnection);
    connect(m_socket, &QTcpSocket::disconnected, this, [this] { Q_EMIT attemptEnded(m_attempt); });
    connect(m_socket, &QTcpSocket::disconnected, this, &TcpClientThread::disconnected,
            Qt::UniqueConnection);
    connect(m_socket, &QTcpSocket::disconnected, this, &TcpClientThread::onDisconnected,
            Qt::UniqueConnection);
    connect(m_socket, &QTcpSocket::readyRead, this, &TcpClientThread::onMessageReceived,
            Qt::UniqueConnection);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &TcpClientThread::onError,
            Qt::UniqueConnection);
    connect(m_socket, &QTcpSocket::stateChanged, this, &TcpClientThread::updateState);
}

void TcpClientThread::onFinished()
{
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    delete m_socket;
    m_socket = nullptr;
    m_state = QAbstractSocket::UnconnectedState;
}

void TcpClientThread::updateState()
{
    m_state = m_socket ? m_socket->state() : QAbstractSocket::UnconnectedState;
}

void TcpClientThread::connectToHost(QString hostAddress, qint16 messagePort)
{
    if (!m_socket) {
        ++m_attempt;
        reportError(QStringLiteral("Network thread is not initialized"));
        return;
    }
    closeForReconnect(); // reports the old connection's end under its own attempt
    ++m_attempt;
    m_parser.reset();
    {
        QMutexLocker lock(&m_mutex);
        m_hostAddress = hostAddress;
        m_port = messagePort;
    }
    qInfo().noquote() << QStringLiteral("Connecting to %1: %2").arg(hostAddress).arg(messagePort);
    m_socket->connectToHost(hostAddress, quint16(messagePort), QIODevice::ReadWrite,
                            QAbstractSocket::AnyIPProtocol);
    updateState();
}

// A pending attempt is abandoned at once; a live connection is closed (reported as
// disconnected) with a short bounded wait, then cut.
void TcpClientThread::closeForReconnect()
{
    switch (m_socket->state()) {
    case QAbstractSocket::UnconnectedState:
        return;
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        abortConnection();
        return;
    default:
        m_socket->disconnectFromHost();
        if (m_socket->state() != QAbstractSocket::UnconnectedState)
            m_socket->waitForDisconnected(kCloseWaitMs);
        if (m_socket->state() != QAbstractSocket::UnconnectedState)
            m_socket->abort();
        updateState();
    }
}

void TcpClientThread::abortConnection()
{
    if (!m_socket)
        return;
    {
        const QSignalBlocker silence(m_socket);
        m_socket->abort();
    }
    m_parser.reset();
    updateState();
}

void TcpClientThread::disconnectFromHost()
{
    if (!m_socket)
        return;
    const QAbstractSocket::SocketState state = m_socket->state();
    if (state == QAbstractSocket::HostLookupState || state == QAbstractSocket::ConnectingState)
        m_socket->abort();
    else if (state != QAbstractSocket::UnconnectedState)
        m_socket->disconnectFromHost();
    updateState();
}

void TcpClientThread::onConnected()
{
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    qInfo().noquote() << QStringLiteral("Connected to %1: %2").arg(hostAddress()).arg(m_port);
}

void TcpClientThread::onDisconnected()
{
    m_parser.reset();
    qInfo().noquote() << QStringLiteral("Disconnected from %1: %2").arg(hostAddress()).arg(m_port);
}

void TcpClientThread::sendMessage(QByteArray message)
{
    if (AppBusyFlag::isBusy() && message.startsWith("asyncget"))
        return;
    if (!m_socket || m_socket->state() == QAbstractSocket::UnconnectedState ||
        m_socket->state() == QAbstractSocket::ClosingState)
        return;
    if (!ConsoleLineBuilder::isSingleLine(message)) {
        qWarning() << "Console line dropped: not exactly one line ending in LF";
        return;
    }
    qint64 offset = 0;
    while (offset < message.size()) {
        const qint64 written =
            m_socket->write(message.constData() + offset, message.size() - offset);
        if (written < 0) {
            reportError(m_socket->errorString());
            return;
        }
        offset += written;
    }
    Q_EMIT messageSent(message);
}

// Every complete line is handled in this one pass, without nested event processing, so a queued
// reconnect cannot run while lines of the old connection are being parsed.
void TcpClientThread::onMessageReceived()
{
    m_parser.append(m_socket->readAll());
    while (const std::optional<ConsoleReply> reply = m_parser.next())
        handleReply(*reply);
}

void TcpClientThread::handleReply(const ConsoleReply& reply)
{
    switch (reply.kind) {
    case ConsoleReply::Kind::Banner:
        Q_EMIT enterPassword();
        break;
    case ConsoleReply::Kind::LoginAccepted:
        Q_EMIT vimbalReady();
        Q_EMIT homeScreenData(reply.line);
        break;
    case ConsoleReply::Kind::LoginRefused:
        Q_EMIT incorrectPassword();
        break;
    case ConsoleReply::Kind::EnumerationList:
        Q_EMIT enumsReceived(reply.items, reply.path);
        break;
    case ConsoleReply::Kind::ObjectList:
        Q_EMIT poReceived(reply.items, reply.path);
        break;
    case ConsoleReply::Kind::Value:
        if (isHomeScreenVariable(reply.record)) {
            qDebug() << "                    emit homeScreenDataAvailable(data)";
            Q_EMIT homeScreenDataAvailable(reply.record);
        }
        Q_EMIT poSvData(reply.record);
        break;
    }
}

void TcpClientThread::onError(QAbstractSocket::SocketError socketError)
{
    qWarning().nospace().noquote()
        << "Error code: " << int(socketError) << ", Error String: " << m_socket->errorString();
    reportError(m_socket->errorString());
}

void TcpClientThread::reportError(const QString& errorString)
{
    Q_EMIT attemptEnded(m_attempt);
    Q_EMIT error(errorString);
}

// ---------------------------------------------------------------------------------------------
// TCPAdaptor

TCPAdaptor* TCPAdaptor::instance()
{
    static TCPAdaptor adaptor;
    return &adaptor;
}

TCPAdaptor::TCPAdaptor() : m_client(new TcpClientThread)
{
    registerDataFromDeviceMetaTypes();
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setTimerType(Qt::PreciseTimer);
    m_connectTimer.setInterval(kConnectTimeoutMs);
    connect(&m_connectTimer, &QTimer::timeout, this, &TCPAdaptor::onTimeOut);

    m_client->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, m_client, &TcpClientThread::onStarted);
    connect(&m_thread, &QThread::finished, m_client, &TcpClientThread::onFinished,
            Qt::DirectConnection);
    connectThreadSignals();
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &TCPAdaptor::shutdown);
    m_thread.setObjectName(QStringLiteral("Console socket"));
    m_thread.start(QThread::InheritPriority);
}

// Receivers of one thread signal run in the order connected here.
void TCPAdaptor::connectThreadSignals()
{
    TcpClientThread* client = m_client;
    connect(this, &TCPAdaptor::connectToHost, client, &TcpClientThread::connectToHost);
    connect(this, &TCPAdaptor::disconnectFromHost, client, &TcpClientThread::disconnectFromHost);
    connect(this, &TCPAdaptor::sendMessage, client, &TcpClientThread::sendMessage);

    // A report of an earlier connection must not stop the time-out of the current attempt.
    connect(client, &TcpClientThread::attemptEnded, this, &TCPAdaptor::onAttemptEnded);
    connect(client, &TcpClientThread::disconnected, this, &TCPAdaptor::disconnected);
    connect(client, &TcpClientThread::disconnected, this, &TCPAdaptor::onDisconnected);

    connect(client, &TcpClientThread::error, this, &TCPAdaptor::error);
    connect(client, &TcpClientThread::error, this, &TCPAdaptor::onError);
    connect(client, &TcpClientThread::error, this, &TCPAdaptor::connectionLost);

    connect(client, &TcpClientThread::messageSent, this, &TCPAdaptor::onMessageSent);

    connect(client, &TcpClientThread::vimbalReady, this, &TCPAdaptor::onVimbalReady);
    connect(client, &TcpClientThread::vimbalReady, this, &TCPAdaptor::vimbalReady);

    connect(client, &TcpClientThread::enterPassword, &m_connectTimer, &QTimer::stop);
    connect(client, &TcpClientThread::enterPassword, this, &TCPAdaptor::onEnterPasswrod);

    connect(client, &TcpClientThread::incorrectPassword, &m_connectTimer, &QTimer::stop);
    connect(client, &TcpClientThread::incorrectPassword, this, &TCPAdaptor::incorrectPassword);

    connect(client, &TcpClientThread::homeScreenData, this, &TCPAdaptor::homeScreenData);
    connect(client, &TcpClientThread::homeScreenDataAvailable, this, &TCPAdaptor::onHomeScreenData);
    connect(client, &TcpClientThread::optionCardSourceNames, this,
            &TCPAdaptor::optionCardSourceNames);
    connect(client, &TcpClientThread::presetData, this, &TCPAdaptor::presetData);
    connect(client, &TcpClientThread::reconfigResponse, this, &TCPAdaptor::reconfigResponse);
    connect(client, &TcpClientThread::poSvData, this, &TCPAdaptor::onPoSvData);
    connect(client, &TcpClientThread::enumsReceived, this, &TCPAdaptor::enumsAvailable);
    connect(client, &TcpClientThread::poReceived, this, &TCPAdaptor::poAvailable);
}

TCPAdaptor::~TCPAdaptor()
{
    shutdown();
    delete m_client;
    qInfo() << "TCPAdaptor destroyed.";
}

void TCPAdaptor::shutdown()
{
    m_connectTimer.stop();
    if (!m_thread.isRunning())
        return;
    m_thread.quit();
    if (!m_thread.wait(3000)) {
        qWarning() << "Console socket thread did not end in time; terminating it";
        m_thread.terminate();
        m_thread.wait();
    }
}

bool TCPAdaptor::isConnected() const
{
    return m_client->isConnected();
}

QString TCPAdaptor::hostAddress() const
{
    return m_client->hostAddress();
}

void TCPAdaptor::doConnect()
{
    const QString address =
        QX8Settings().value(settingskeys::kCurrentDeviceAddress, QString()).toString();
    qInfo().noquote() << "TCP Adaptor: connecting... to " + address;
    m_awaitingLogin = false;
    ++m_attemptsRequested;
    Q_EMIT connectToHost(address, kConsolePort);
    m_connectTimer.start();
}

void TCPAdaptor::doDisconnect()
{
    Q_EMIT disconnectFromHost();
}

void TCPAdaptor::onEnterPasswrod()
{
    m_awaitingLogin = true;
    sendLogin();
}

// Stores the password; the login line goes out now only when the device is waiting for it.
// Otherwise the banner of the pending connection sends it, so it is never sent twice and the
// connect time-out keeps running.
void TCPAdaptor::enterPassword(const QString& password)
{
    QX8Settings().setValue(settingskeys::kCurrentDevicePassword, password);
    if (!m_awaitingLogin)
        return;
    m_connectTimer.stop();
    sendLogin();
}

void TCPAdaptor::sendLogin()
{
    const QString password =
        QX8Settings().value(settingskeys::kCurrentDevicePassword, QString()).toString();
    if (const std::optional<QByteArray> line = ConsoleLineBuilder::login(password))
        Q_EMIT sendMessage(*line);
}

void TCPAdaptor::SendRequest(const DataFromDevice& request)
{
    if (const std::optional<QByteArray> line = ConsoleLineBuilder::request(request))
        Q_EMIT sendMessage(*line);
}

void TCPAdaptor::onAttemptEnded(int attempt)
{
    if (attempt == m_attemptsRequested)
        m_connectTimer.stop();
}

void TCPAdaptor::onDisconnected()
{
    m_ready = false;
    m_awaitingLogin = false;
    AppBusyFlag::instance()->setBusy(false);
}

void TCPAdaptor::onVimbalReady()
{
    m_ready = true;
    m_awaitingLogin = false;
}

void TCPAdaptor::onError(QString errorString)
{
    Q_UNUSED(errorString)
    m_ready = false;
    m_awaitingLogin = false;
    AppBusyFlag::instance()->setBusy(false);
}

void TCPAdaptor::onMessageSent(QByteArray message)
{
    Q_UNUSED(message)
}

void TCPAdaptor::onPoSvData(DataFromDevice data)
{
    Q_EMIT dataAvailable(data);
    m_router.deliver(data);
}

// Receivers use the record only during their slot.
void TCPAdaptor::onHomeScreenData(DataFromDevice data)
{
    Q_EMIT homeScreenDataAvailable(&data);
}

// The attempt that timed out is abandoned, so that a retry really connects again.
void TCPAdaptor::onTimeOut()
{
    Q_EMIT timeOutError();
    m_awaitingLogin = false;
    QMetaObject::invokeMethod(m_client, &TcpClientThread::abortConnection, Qt::QueuedConnection);
}
