#include "qftppi.h"

#include "ftpreplyfields.h"
#include "qftp.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QtDebug>

namespace {

const char networkSessionProperty[] = "_q_networksession";

QString translated(const char* text)
{
    return QCoreApplication::translate("QFtp", text);
}

} // namespace

QFtpPI::QFtpPI(QObject* parent) : QObject(parent), m_dtp(this)
{
    m_commandSocket.setObjectName(QStringLiteral("QFtpPI_socket"));
    connect(&m_commandSocket, &QTcpSocket::hostFound, this, &QFtpPI::hostFound);
    connect(&m_commandSocket, &QTcpSocket::connected, this, &QFtpPI::connected);
    connect(&m_commandSocket, &QTcpSocket::disconnected, this, &QFtpPI::connectionClosed);
    connect(&m_commandSocket, &QTcpSocket::readyRead, this, &QFtpPI::readyRead);
    connect(&m_commandSocket, &QTcpSocket::errorOccurred, this, &QFtpPI::socketError);
    connect(&m_dtp, &QFtpDTP::connectState, this, &QFtpPI::dtpConnectState);
    // Data moving on the data connection is progress as much as a reply is.
    connect(&m_dtp, &QFtpDTP::dataTransferProgress, this, &QFtpPI::noteProgress);
    connect(&m_dtp, &QFtpDTP::listInfo, this, &QFtpPI::noteProgress);
    connect(&m_dtp, &QFtpDTP::readyRead, this, &QFtpPI::noteProgress);

    // A line is checked for its length while it is buffered, not once it is whole.
    m_commandSocket.setReadBufferSize(FtpReplyReader::maximumTextLength);

    m_watchdog.setSingleShot(true);
    m_watchdog.setTimerType(Qt::PreciseTimer);
    m_watchdog.setInterval(defaultProgressTimeoutMs);
    connect(&m_watchdog, &QTimer::timeout, this, &QFtpPI::timedOut);
}

QFtpPI::~QFtpPI()
{
    // The sockets close as members go; nothing of this object may hear of it.
    m_commandSocket.disconnect(this);
    m_dtp.disconnect(this);
}

QString QFtpPI::hostText(const char* text) const
{
    return translated(text).arg(m_host);
}

void QFtpPI::connectToHost(const QString& host, quint16 port)
{
    // Whatever is left of an earlier connection goes without a word: the caller starts afresh.
    resetConnection();
    m_commandActive = true;
    m_host = host;

    Q_EMIT connectState(QFtp::HostLookup);
    m_commandSocket.setProperty(networkSessionProperty, property(networkSessionProperty));
    m_dtp.setProperty(networkSessionProperty, property(networkSessionProperty));
    m_commandSocket.connectToHost(host, port);
    noteProgress();
}

bool QFtpPI::sendCommands(const QStringList& commands)
{
    if (!m_pendingCommands.isEmpty())
        return false;
    if (m_commandSocket.state() != QAbstractSocket::ConnectedState || m_replyState != Idle) {
        Q_EMIT error(QFtp::NotConnected, translated("Not connected"));
        return true;
    }
    m_pendingCommands = commands;
    m_commandActive = true;
    startNextCmd();
    return true;
}

void QFtpPI::clearPendingCommands()
{
    m_pendingCommands.clear();
    // A refused data connection or a held reply must not keep the next command's lines back.
    m_waitForDtpToConnect = false;
    if (m_waitForDtpToClose) {
        m_waitForDtpToClose = false;
        m_reply.clear();
    }
    m_currentCommand.clear();
    m_replyState = Idle;
    m_commandActive = false;
    m_resetting = true;
    m_dtp.abortConnection();
    m_resetting = false;
    noteProgress();
}

void QFtpPI::abort()
{
    m_pendingCommands.clear();
    if (m_abortState != AbortNone)
        return;
    if (m_commandSocket.state() != QAbstractSocket::ConnectedState)
        return;
    m_abortState = AbortStarted;
    m_commandSocket.write("ABOR\r\n");
    // The client may be on its way out: get the line onto the wire before the socket goes.
    m_commandSocket.flush();
    if (m_currentCommand.startsWith(QLatin1String("STOR ")))
        m_dtp.abortConnection();
}

void QFtpPI::hostFound()
{
    noteProgress();
    Q_EMIT connectState(QFtp::Connecting);
}

void QFtpPI::connected()
{
    m_replyState = Begin;
    m_commandSocket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    noteProgress();
    Q_EMIT connectState(QFtp::Connected);
}

void QFtpPI::connectionClosed()
{
    if (m_resetting)
        return;
    m_commandSocket.close();
    dropConnection(QFtp::NotConnected, hostText("Connection closed by host %1"));
}

void QFtpPI::socketError(QAbstractSocket::SocketError socketError)
{
    // A closing peer is reported by disconnected(), which follows.
    if (m_resetting || socketError == QAbstractSocket::RemoteHostClosedError)
        return;
    switch (socketError) {
    case QAbstractSocket::HostNotFoundError:
        dropConnection(QFtp::HostNotFound, hostText("Host %1 not found"));
        break;
    case QAbstractSocket::ConnectionRefusedError:
        dropConnection(QFtp::ConnectionRefused, hostText("Connection refused to host %1"));
        break;
    case QAbstractSocket::SocketTimeoutError:
        dropConnection(QFtp::ConnectionRefused, hostText("Connection timed out to host %1"));
        break;
    default:
        dropConnection(m_replyState == Begin ? QFtp::ConnectionRefused : QFtp::UnknownError,
                       m_commandSocket.errorString());
        break;
    }
}

void QFtpPI::timedOut()
{
    dropConnection(QFtp::ConnectionRefused, hostText("Connection timed out to host %1"));
}

void QFtpPI::resetConnection()
{
    m_commandActive = false;
    m_awaitingClose = false;
    m_watchdog.stop();
    m_pendingCommands.clear();
    m_currentCommand.clear();
    m_waitForDtpToConnect = m_waitForDtpToClose = false;
    m_reply.clear();
    m_replyState = Begin;
    m_abortState = AbortNone;
    m_resetting = true;
    m_dtp.abortConnection();
    m_commandSocket.abort();
    m_resetting = false;
}

void QFtpPI::dropConnection(int errorValue, const QString& text)
{
    const bool commandWaits = m_commandActive;
    resetConnection();

    Q_EMIT connectState(QFtp::Unconnected);
    if (commandWaits)
        Q_EMIT error(errorValue, text);
}

void QFtpPI::noteProgress()
{
    if (m_commandActive || m_awaitingClose)
        m_watchdog.start();
    else
        m_watchdog.stop();
}

bool QFtpPI::startNextCmd()
{
    if (m_waitForDtpToConnect)
        return true; // the next line goes out once the data connection is up

    if (m_pendingCommands.isEmpty()) {
        // No command of ours runs; one queued since the last ended has not started yet.
        if (!m_commandActive)
            return false;
        // After QUIT the peer still has to close the connection, and may not.
        m_awaitingClose = m_currentCommand.startsWith(QLatin1String("QUIT"));
        m_currentCommand.clear();
        m_commandActive = false;
        noteProgress();
        Q_EMIT finished(m_reply.text());
        return false;
    }

    m_currentCommand = m_pendingCommands.first();
    if (!rewriteDataConnectionLine())
        return false;
    m_pendingCommands.removeFirst();
    m_replyState = Waiting;
    m_commandSocket.write(m_currentCommand.toLatin1());
    noteProgress();
    return true;
}

bool QFtpPI::rewriteDataConnectionLine()
{
    const QHostAddress address = m_commandSocket.localAddress();
    const bool ipv6 = address.protocol() == QAbstractSocket::IPv6Protocol;

    if (m_currentCommand.startsWith(QLatin1String("PORT"))) {
        if (ipv6 && !m_transferConnectionExtended) {
            reportAndGoOn(QFtp::UnknownError, translated("Active mode over IPv6 needs EPRT"));
            return false;
        }
        const int port = m_dtp.setupListener(address);
        if (port < 0) {
            reportAndGoOn(QFtp::UnknownError,
                          translated("Listening for the data connection failed"));
            return false;
        }
        if (ipv6) {
            m_currentCommand = QStringLiteral("EPRT |2|%1|%2|").arg(address.toString()).arg(port);
        } else {
            const quint32 ip = address.toIPv4Address();
            m_currentCommand = QStringLiteral("PORT %1,%2,%3,%4,%5,%6")
                                   .arg(ip >> 24)
                                   .arg((ip >> 16) & 0xff)
                                   .arg((ip >> 8) & 0xff)
                                   .arg(ip & 0xff)
                                   .arg(port / 256)
                                   .arg(port % 256);
        }
        m_currentCommand += QLatin1String("\r\n");
    } else if (m_currentCommand.startsWith(QLatin1String("PASV")) && ipv6 &&
               m_transferConnectionExtended) {
        m_currentCommand = QStringLiteral("EPSV\r\n");
    }
    return true;
}

void QFtpPI::readyRead()
{
    // A nested call (a data-connection event while a reply is processed) leaves the lines to
    // the loop already running.
    if (m_waitForDtpToClose || m_reading || m_resetting)
        return;
    m_reading = true;
    while (!m_waitForDtpToClose && m_commandSocket.canReadLine()) {
        // Only whole lines are progress: a peer that never ends its line times out.
        noteProgress();
        const QString line = QString::fromLatin1(m_commandSocket.readLine());
        switch (m_reply.addLine(line)) {
        case FtpReplyReader::Result::Dropped:
        case FtpReplyReader::Result::Partial:
            break; // a malformed line must not keep the valid replies behind it back
        case FtpReplyReader::Result::TooLong:
            m_reading = false;
            dropConnection(QFtp::UnknownError, hostText("Reply from host %1 too long"));
            return;
        case FtpReplyReader::Result::Complete:
            if (processReply())
                m_reply.clear();
            break;
        }
    }
    m_reading = false;
    // The read buffer is full and holds no line end.
    if (m_commandSocket.bytesAvailable() >= FtpReplyReader::maximumTextLength &&
        !m_commandSocket.canReadLine())
        dropConnection(QFtp::UnknownError, hostText("Reply from host %1 too long"));
}

bool QFtpPI::processReply()
{
    const int code = m_reply.code();
    qDebug() << "Ftp reply code: " << code;

    // The reply that ends a transfer may overtake the data; it waits until the data is in.
    if ((code == 226 || (code == 250 && m_currentCommand.startsWith(QLatin1String("RETR")))) &&
        m_dtp.state() != QAbstractSocket::UnconnectedState) {
        m_waitForDtpToClose = true;
        return false;
    }

    switch (m_abortState) {
    case AbortStarted:
        m_abortState = WaitForAbortToFinish;
        break;
    case WaitForAbortToFinish:
        m_abortState = AbortNone;
        return true; // the answer to ABOR
    case AbortNone:
        break;
    }

    const int first = m_reply.firstDigit();
    const QString text = m_reply.text();
    switch (m_replyState) {
    case Begin:
        if (first == 2) {
            m_replyState = Idle;
            m_commandActive = false;
            Q_EMIT finished(text);
            break;
        }
        // A 421 greeting (or any refusal) ends the connection attempt.
        if (first == 4 || first == 5)
            dropConnection(QFtp::UnknownError, text);
        return true;
    case Waiting:
        if (code == 202 || first == 4 || first == 5)
            m_replyState = Failure;
        else if (first == 2)
            m_replyState = Success;
        else if (first == 3)
            m_replyState = Idle;
        break;
    case Idle:
    case Success:
    case Failure:
        return true; // nobody asked for this reply
    }

    m_failureText = text;
    Q_EMIT rawFtpReply(code, text);
    if (m_rawCommand)
        m_rawCommand = false;
    else
        handleSpecialReply(code);

    // The signals above may already have moved the state on.
    switch (m_replyState) {
    case Success:
        m_replyState = Idle;
        Q_FALLTHROUGH();
    case Idle:
        if (m_dtp.hasError()) {
            const QString dtpError = m_dtp.errorMessage();
            m_dtp.clearError();
            reportAndGoOn(QFtp::UnknownError, dtpError);
        } else {
            startNextCmd();
        }
        break;
    case Failure:
        if (m_currentCommand.startsWith(QLatin1String("EPSV"))) {
            m_transferConnectionExtended = false;
            m_pendingCommands.prepend(QStringLiteral("PASV\r\n"));
        } else if (m_currentCommand.startsWith(QLatin1String("EPRT"))) {
            m_transferConnectionExtended = false;
            m_pendingCommands.prepend(QStringLiteral("PORT\r\n"));
        } else {
            const bool noFiles = code == 450 && m_currentCommand.startsWith(QLatin1String("NLST"));
            Q_EMIT error(noFiles ? QFtp::NoFilesFound : QFtp::UnknownError, m_failureText);
        }
        if (m_replyState != Waiting && m_replyState != Begin) {
            m_replyState = Idle;
            startNextCmd();
        }
        break;
    case Waiting:
    case Begin:
        break;
    }
    return true;
}

void QFtpPI::handleSpecialReply(int code)
{
    const QString text = m_reply.text();
    if (code == 227) {
        const std::optional<ftpreplyfields::PassiveAddress> passive =
            ftpreplyfields::passiveAddress(text);
        if (!passive) {
            m_replyState = Failure;
            m_failureText = translated("Bad passive mode reply: %1").arg(text);
            return;
        }
        // The data goes to the server we are talking to, whatever address the reply names: a
        // server must not send us to another host, nor have us fetch from one.
        const QHostAddress server = m_commandSocket.peerAddress();
        if (!passive->host.isEqual(server, QHostAddress::ConvertV4MappedToIPv4)) {
            qInfo().noquote() << "FTP passive reply names" << passive->host.toString()
                              << "; the data connection goes to the server" << server.toString()
                              << "instead.";
        }
        connectPassive(passive->port);
    } else if (code == 229) {
        const std::optional<quint16> port = ftpreplyfields::extendedPassivePort(text);
        if (!port) {
            m_replyState = Failure;
            m_failureText = translated("Bad extended passive mode reply: %1").arg(text);
            return;
        }
        connectPassive(*port);
    } else if (code == 230) {
        if (m_currentCommand.startsWith(QLatin1String("USER ")) && !m_pendingCommands.isEmpty() &&
            m_pendingCommands.first().startsWith(QLatin1String("PASS ")))
            m_pendingCommands.removeFirst();
        Q_EMIT connectState(QFtp::LoggedIn);
    } else if (code == 213) {
        // A size that does not read as one leaves the total unknown.
        if (m_currentCommand.startsWith(QLatin1String("SIZE ")))
            m_dtp.setBytesTotal(ftpreplyfields::fileSize(text).value_or(0));
    } else if (code / 100 == 1 && m_currentCommand.startsWith(QLatin1String("STOR "))) {
        m_dtp.waitForConnection();
        m_dtp.writeData();
    }
}

void QFtpPI::connectPassive(quint16 port)
{
    m_waitForDtpToConnect = true;
    m_dtp.connectToHost(m_commandSocket.peerAddress().toString(), port);
}

void QFtpPI::reportAndGoOn(int errorValue, const QString& text)
{
    Q_EMIT error(errorValue, text);
    // The client may have started its next command inside the signal; its lines are its own.
    if (m_replyState != Waiting && m_replyState != Begin)
        startNextCmd();
}

void QFtpPI::dtpConnectState(int state)
{
    if (m_resetting)
        return;
    noteProgress();
    switch (state) {
    case QFtpDTP::CsConnected:
        m_waitForDtpToConnect = false;
        startNextCmd();
        break;
    case QFtpDTP::CsClosed:
        if (m_waitForDtpToClose) {
            if (!processReply())
                return;
            m_reply.clear();
        }
        m_waitForDtpToClose = false;
        readyRead();
        break;
    case QFtpDTP::CsHostNotFound:
    case QFtpDTP::CsConnectionRefused:
        m_waitForDtpToConnect = false;
        reportAndGoOn(QFtp::ConnectionRefused,
                      translated("Connection refused for data connection"));
        break;
    default:
        break;
    }
}
