#include "qftpdtp.h"

#include "ftplistingparser.h"
#include "qftppi.h"
#include "qurlinfo.h"

#include <QCoreApplication>
#include <QTcpSocket>

namespace {

constexpr qint64 uploadBlockSize = 16384;
constexpr qint64 downloadBlockSize = 1024 * 1024;
// A byte array goes to the socket in slices, so that the socket holds at most this much of it.
constexpr qint64 uploadHighWater = 256 * 1024;
const char networkSessionProperty[] = "_q_networksession";

} // namespace

QFtpDTP::QFtpDTP(QFtpPI* pi, QObject* parent) : QObject(parent), m_pi(pi)
{
    m_listener.setObjectName(QStringLiteral("QFtpDTP active state server"));
    connect(&m_listener, &QTcpServer::newConnection, this, &QFtpDTP::setupSocket);
}

QFtpDTP::~QFtpDTP()
{
    discardSocket();
}

void QFtpDTP::setData(QByteArray* data)
{
    m_data = Data{data, nullptr};
    m_bytesHandedOver = 0;
    m_dataIsBytes = true;
}

void QFtpDTP::setDevice(QIODevice* device)
{
    m_data = Data{nullptr, device};
    m_dataIsBytes = false;
}

void QFtpDTP::clearData()
{
    m_data = Data{};
    m_dataIsBytes = false;
}

void QFtpDTP::setBytesTotal(qint64 total)
{
    m_bytesTotal = total;
    m_bytesDone = 0;
    Q_EMIT dataTransferProgress(m_bytesDone, m_bytesTotal);
}

void QFtpDTP::connectToHost(const QString& host, quint16 port)
{
    m_bytesFromSocket.clear();
    discardSocket();
    auto* socket = new QTcpSocket(this);
    attachSocket(socket, "QFtpDTP Passive state socket");
    socket->connectToHost(host, port);
}

void QFtpDTP::attachSocket(QTcpSocket* socket, const char* name)
{
    m_socket = socket;
    m_socketConnected = socket->state() == QAbstractSocket::ConnectedState;
    socket->setObjectName(QLatin1String(name));
    socket->setProperty(networkSessionProperty, property(networkSessionProperty));
    // A device takes the data as it comes, so the socket need hold no more than a block of it;
    // without one the caller reads when it likes, and the socket keeps all.
    socket->setReadBufferSize(!m_dataIsBytes && m_data.device ? downloadBlockSize : 0);
    connect(socket, &QTcpSocket::connected, this, &QFtpDTP::socketConnected);
    connect(socket, &QTcpSocket::readyRead, this, &QFtpDTP::socketReadyRead);
    connect(socket, &QTcpSocket::errorOccurred, this, &QFtpDTP::socketError);
    connect(socket, &QTcpSocket::disconnected, this, &QFtpDTP::socketConnectionClosed);
    connect(socket, &QTcpSocket::bytesWritten, this, &QFtpDTP::socketBytesWritten);
}

void QFtpDTP::discardSocket()
{
    if (!m_socket)
        return;
    // Its last signals would describe a transfer that is over.
    m_socket->disconnect(this);
    delete m_socket;
    m_socket = nullptr;
    m_socketConnected = false;
}

int QFtpDTP::setupListener(const QHostAddress& address)
{
    m_listener.setProperty(networkSessionProperty, property(networkSessionProperty));
    if (!m_listener.isListening() && !m_listener.listen(address, 0))
        return -1;
    return m_listener.serverPort();
}

void QFtpDTP::waitForConnection()
{
    if (m_listener.isListening())
        m_listener.waitForNewConnection(0);
}

void QFtpDTP::setupSocket()
{
    QTcpSocket* socket = m_listener.nextPendingConnection();
    if (!socket)
        return;
    // The old socket was the previous transfer's; only one data connection lives at a time.
    discardSocket();
    socket->setParent(this);
    attachSocket(socket, "QFtpDTP Active state socket");
    m_listener.close();
}

QAbstractSocket::SocketState QFtpDTP::state() const
{
    return m_socket ? m_socket->state() : QAbstractSocket::UnconnectedState;
}

qint64 QFtpDTP::bytesAvailable() const
{
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
        return m_bytesFromSocket.size();
    return m_socket->bytesAvailable();
}

qint64 QFtpDTP::read(char* data, qint64 maxlen)
{
    if (maxlen < 0)
        return -1; // as QIODevice::read
    qint64 count;
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState) {
        count = m_socket->read(data, maxlen);
    } else {
        count = qMin(maxlen, qint64(m_bytesFromSocket.size()));
        memcpy(data, m_bytesFromSocket.constData(), size_t(count));
        m_bytesFromSocket.remove(0, int(count));
    }
    if (count > 0)
        m_bytesDone += count;
    return count;
}

QByteArray QFtpDTP::readAll()
{
    QByteArray result;
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState) {
        result = m_socket->readAll();
        m_bytesDone += result.size();
    } else {
        result = m_bytesFromSocket;
        m_bytesFromSocket.clear();
    }
    return result;
}

void QFtpDTP::writeData()
{
    if (!m_socket)
        return;
    if (m_dataIsBytes)
        writeFromBytes();
    else if (m_data.device)
        writeFromDevice();
}

void QFtpDTP::writeFromBytes()
{
    const QByteArray& bytes = *m_data.bytes;
    if (bytes.isEmpty())
        Q_EMIT dataTransferProgress(0, m_bytesTotal);
    // The socket copies whatever it is given: handing over slices as it drains spares a copy of
    // the whole array.
    const qint64 room = uploadHighWater - m_socket->bytesToWrite();
    const qint64 count = qMin(room, bytes.size() - m_bytesHandedOver);
    if (count > 0) {
        m_socket->write(bytes.constData() + m_bytesHandedOver, count);
        m_bytesHandedOver += count;
    }
    m_callWriteData = m_bytesHandedOver < bytes.size();
    if (!m_callWriteData) {
        clearData();
        // Disconnects once the written bytes have gone out.
        m_socket->close();
    }
}

void QFtpDTP::writeFromDevice()
{
    m_callWriteData = false;
    char block[uploadBlockSize];
    const qint64 count = m_data.device->read(block, uploadBlockSize);
    if (count > 0) {
        m_socket->write(block, count);
    } else if (count == -1 || (!m_data.device->isSequential() && m_data.device->atEnd())) {
        if (m_bytesDone == 0 && m_socket->bytesToWrite() == 0)
            Q_EMIT dataTransferProgress(0, m_bytesTotal);
        clearData();
        m_socket->close();
    }
    // A sequential device that gave nothing yet is polled again on its next readyRead().
    m_callWriteData = m_data.device != nullptr;
}

void QFtpDTP::dataReadyRead()
{
    writeData();
}

void QFtpDTP::abortConnection()
{
    m_callWriteData = false;
    clearData();
    // An error belongs to the transfer it ended; the next command starts clean.
    m_error.clear();
    if (m_socket)
        m_socket->abort();
}

bool QFtpDTP::parseDir(const QByteArray& buffer, const QString& userName, QUrlInfo* info)
{
    return FtpListingParser::parse(buffer, userName, info);
}

void QFtpDTP::socketConnected()
{
    m_socketConnected = true;
    m_bytesDone = 0;
    Q_EMIT connectState(CsConnected);
}

void QFtpDTP::socketReadyRead()
{
    if (!m_socket)
        return;
    if (m_pi->currentCommand().isEmpty()) {
        // Data nobody asked for: no command is running.
        m_socket->close();
        Q_EMIT connectState(CsClosed);
        return;
    }
    if (m_pi->abortState() == QFtpPI::AbortStarted) {
        m_socket->readAll();
        return;
    }
    if (m_pi->currentCommand().startsWith(QLatin1String("LIST"))) {
        readListing();
    } else if (!m_dataIsBytes && m_data.device) {
        readIntoDevice();
    } else {
        Q_EMIT dataTransferProgress(m_bytesDone + m_socket->bytesAvailable(), m_bytesTotal);
        Q_EMIT readyRead();
    }
}

void QFtpDTP::readListing()
{
    while (m_socket->canReadLine()) {
        const QByteArray line = m_socket->readLine();
        QUrlInfo info;
        if (parseDir(line, QString(), &info))
            Q_EMIT listInfo(info);
        else if (line.endsWith("No such file or directory\r\n"))
            m_error = QString::fromLatin1(line);
    }
}

void QFtpDTP::readIntoDevice()
{
    do {
        // One block for the whole download: a fresh array per read faults in fresh pages.
        m_downloadBlock.resize(int(m_socket->bytesAvailable()));
        const qint64 count = m_socket->read(m_downloadBlock.data(), m_downloadBlock.size());
        if (count < 0)
            return; // a read error; try again on the next readyRead()
        m_bytesDone += count;
        // A progress slot may have cleared the device.
        if (m_data.device && m_data.device->write(m_downloadBlock.constData(), count) != count)
            m_error = QCoreApplication::translate("QFtp", "Writing the downloaded data failed: %1")
                          .arg(m_data.device->errorString());
        Q_EMIT dataTransferProgress(m_bytesDone, m_bytesTotal);
    } while (m_socket && m_socket->bytesAvailable() > 0);
}

void QFtpDTP::socketError(QAbstractSocket::SocketError error)
{
    if (!m_socketConnected) {
        // Whatever keeps the data connection from opening ends the transfer.
        Q_EMIT connectState(error == QAbstractSocket::HostNotFoundError ? CsHostNotFound
                                                                        : CsConnectionRefused);
        return;
    }
    if (error != QAbstractSocket::RemoteHostClosedError && m_socket)
        m_error = m_socket->errorString();
}

void QFtpDTP::socketConnectionClosed()
{
    if (!m_dataIsBytes && m_data.device) {
        // Bytes still in the socket belong to the download: hand them over before detaching.
        if (m_socket->isReadable() && m_socket->bytesAvailable() > 0 &&
            m_pi->abortState() == QFtpPI::AbortNone &&
            !m_pi->currentCommand().startsWith(QLatin1String("LIST")))
            readIntoDevice();
        clearData();
    }
    m_socketConnected = false;
    m_bytesFromSocket = m_socket->isReadable() ? m_socket->readAll() : QByteArray();
    Q_EMIT connectState(CsClosed);
}

void QFtpDTP::socketBytesWritten(qint64 bytes)
{
    m_bytesDone += bytes;
    Q_EMIT dataTransferProgress(m_bytesDone, m_bytesTotal);
    if (m_callWriteData)
        writeData();
}
