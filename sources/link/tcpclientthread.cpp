#include "tcpclientthread.h"

#include "appbusyflag.h"
#include "consolelinebuilder.h"

#include <QLoggingCategory>
#include <QSignalBlocker>
#include <QTcpSocket>

TcpClientThread::TcpClientThread(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<ConsoleReplyBatch>("ConsoleReplyBatch");
}

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
    const std::lock_guard<std::mutex> lock(m_mutex);
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

// In the socket thread as it ends, then again in the destructor, in the owner's thread once that
// thread has ended: the lock makes everything the socket thread did visible to the destructor.
void TcpClientThread::onFinished()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
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
        const std::lock_guard<std::mutex> lock(m_mutex);
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
// reconnect cannot run while lines of the old connection are being parsed. The replies of a read
// cross to the link in one queued event.
void TcpClientThread::onMessageReceived()
{
    m_parser.append(m_socket->readAll());
    ConsoleReplyBatch batch = m_parser.takeReplies();
    if (batch.replies.isEmpty())
        return;
    batch.attempt = m_attempt;
    Q_EMIT repliesReceived(batch);
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
