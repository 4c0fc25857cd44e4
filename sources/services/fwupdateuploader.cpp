#include "fwupdateuploader.h"

#include "qx8settings.h"
#include "safefilename.h"
#include "settingskeys.h"
#include "updatefolders.h"

#include <QDebug>
#include <QFileInfo>

#include <optional>

#if defined(Q_OS_LINUX)
#include <linux/sockios.h>
#include <sys/ioctl.h>
#elif defined(Q_OS_MACOS)
#include <sys/socket.h>
#endif

namespace {

const QString kConnectFailed = QStringLiteral("Error in connecting to device.");
const QString kStalled = QStringLiteral("The device stopped answering during the firmware upload.");
const QString kRefused = QStringLiteral("The device refused the firmware upload: ");
const QString kNotConfirmed =
    QStringLiteral("The firmware upload is not confirmed; the device said: ");
constexpr std::chrono::milliseconds kDrainPoll{10};

// Bytes the socket has sent, or still holds to send, that the device's side has not acknowledged
// yet; nothing where the system does not tell.
std::optional<qint64> unacknowledgedBytes(qintptr descriptor)
{
    int count = 0;
#if defined(Q_OS_LINUX)
    if (::ioctl(int(descriptor), SIOCOUTQ, &count) == 0)
        return count;
#elif defined(Q_OS_MACOS)
    socklen_t length = sizeof(count);
    if (::getsockopt(int(descriptor), SOL_SOCKET, SO_NWRITE, &count, &length) == 0)
        return count;
#else
    Q_UNUSED(descriptor)
#endif
    return std::nullopt;
}

} // namespace

FwUpdateUploader::FwUpdateUploader(QObject* parent) : QObject(parent)
{
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(kConnectLimit);
    m_stallTimer.setSingleShot(true);
    m_stallTimer.setInterval(kDefaultStallLimit);
    connect(&m_connectTimer, &QTimer::timeout, this, &FwUpdateUploader::connectionFailed);
    connect(&m_stallTimer, &QTimer::timeout, this, [this] { fail(kStalled); });
    m_drainTimer.setInterval(kDrainPoll);
    connect(&m_drainTimer, &QTimer::timeout, this, &FwUpdateUploader::checkDrained);
    m_objectionTimer.setSingleShot(true);
    m_objectionTimer.setInterval(kObjectionTime);
    connect(&m_objectionTimer, &QTimer::timeout, this, &FwUpdateUploader::settle);
    // Queued: each chunk goes to the socket on a later turn than the notice that asked for it.
    connect(this, &FwUpdateUploader::write, this, &FwUpdateUploader::onWrite, Qt::QueuedConnection);
    connect(this, &FwUpdateUploader::showProgress, this, &FwUpdateUploader::onUploadProgress,
            Qt::QueuedConnection);
    connect(&m_socket, &QTcpSocket::connected, this, &FwUpdateUploader::onConnected);
    connect(&m_socket, &QTcpSocket::bytesWritten, this, &FwUpdateUploader::onBytesWritten);
    connect(&m_socket, &QTcpSocket::readyRead, this, &FwUpdateUploader::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &FwUpdateUploader::onError);
    connectToDevice();
}

// Nothing of the closing connection may reach a screen that is going away.
FwUpdateUploader::~FwUpdateUploader()
{
    m_socket.disconnect(this);
    m_socket.disconnectFromHost();
}

void FwUpdateUploader::upload(const QString& fileName)
{
    if (m_uploadInProgress) {
        qWarning().noquote() << "Upload of" << fileName << "refused: an upload is running.";
        return;
    }
    setUploadInProgress(true);
    const QString path = safefilename::pathInFolder(updatefolders::firmwareImages(), fileName);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        qWarning().noquote() << "Firmware file not found:" << fileName;
        fail(QStringLiteral("Firmware file not found"));
        return;
    }
    m_file.close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("Could not read the firmware file: ") + m_file.errorString());
        return;
    }
    m_fileSize = m_file.size();
    m_bytesRead = 0;
    m_totalWritten = 0;
    m_chunkWritten = 0;
    m_chunkSize = 0;
    m_progress = 0;
    Q_EMIT progressChanged(m_progress);
    if (m_phase == Phase::Idle) {
        announce();
        return;
    }
    m_uploadPending = true;
    if (m_phase == Phase::Unconnected)
        connectToDevice();
}

void FwUpdateUploader::sendFwUpdate(qint64 maxSize)
{
    const qint64 wanted = qMin(maxSize, m_fileSize - m_bytesRead);
    QByteArray chunk(int(qMax<qint64>(wanted, 0)), Qt::Uninitialized);
    const qint64 read = wanted > 0 ? m_file.read(chunk.data(), wanted) : 0;
    if (read < 0 || (read == 0 && m_bytesRead < m_fileSize)) {
        fail(QStringLiteral("Could not read the firmware file: ") + m_file.errorString());
        return;
    }
    m_bytesRead += read;
    m_chunkSize = read;
    m_chunkWritten = 0;
    if (read > 0) {
        chunk.resize(int(read));
        Q_EMIT write(chunk);
        return;
    }
    // The last byte is in the socket, not yet with the device: a device that goes now must not
    // leave an upload reported as done.
    m_phase = Phase::Draining;
    m_unacknowledged = -1;
    checkDrained();
}

void FwUpdateUploader::checkDrained()
{
    const std::optional<qint64> left = m_socket.bytesToWrite() > 0
                                           ? std::optional<qint64>(m_socket.bytesToWrite())
                                           : unacknowledgedBytes(m_socket.socketDescriptor());
    if (left && *left > 0) {
        // Acknowledged bytes are progress.
        if (m_unacknowledged < 0 || *left < m_unacknowledged)
            m_stallTimer.start();
        m_unacknowledged = *left;
        m_drainTimer.start();
        return;
    }
    m_drainTimer.stop();
    m_stallTimer.stop();
    m_phase = Phase::Settling;
    m_objectionTimer.start();
}

// No complete line came in time; text begun and not ended is the device's word all the same.
void FwUpdateUploader::settle()
{
    const std::optional<QByteArray> words = m_answers.unfinishedLine();
    if (words && !words->trimmed().isEmpty()) {
        fail(kNotConfirmed + QString::fromUtf8(*words));
        return;
    }
    onUploadDone();
}

bool FwUpdateUploader::imageSent() const
{
    return m_phase == Phase::Sending || m_phase == Phase::Draining || m_phase == Phase::Settling;
}

void FwUpdateUploader::onWrite(const QByteArray& data)
{
    // A chunk asked for before the upload failed has nowhere to go.
    if (m_phase == Phase::Sending)
        m_socket.write(data);
}

void FwUpdateUploader::onError(QAbstractSocket::SocketError)
{
    if (m_phase == Phase::Connecting) {
        qInfo().noquote() << "Firmware upload connection to" << m_socket.peerName()
                          << "failed:" << m_socket.errorString();
        connectionFailed();
        return;
    }
    const QString text = m_socket.errorString();
    if (m_uploadInProgress) {
        fail(text);
        return;
    }
    qInfo().noquote() << "Firmware upload connection ended:" << text;
    m_socket.abort();
    m_phase = Phase::Unconnected;
}

void FwUpdateUploader::onUploadProgress(qlonglong bytesReceived, qlonglong bytesTotal)
{
    m_progress = float(double(bytesReceived) / double(bytesTotal)) * 100;
    Q_EMIT progressChanged(m_progress);
}

// The bytes of the command line are no image bytes: they change no counter and start nothing.
void FwUpdateUploader::onBytesWritten(qint64 bytes)
{
    const qint64 commandBytes = qMin(bytes, m_commandBytesPending);
    m_commandBytesPending -= commandBytes;
    bytes -= commandBytes;
    if (bytes == 0 || m_phase != Phase::Sending)
        return;
    m_stallTimer.start();
    m_totalWritten += bytes;
    m_chunkWritten += bytes;
    if (m_chunkWritten >= m_chunkSize) {
        Q_EMIT showProgress(m_totalWritten, m_fileSize);
        sendFwUpdate(kChunkSize);
    }
}

void FwUpdateUploader::onReadyRead()
{
    const QList<FirmwareAnswerReader::Answer> answers = m_answers.add(m_socket.readAll());
    for (const FirmwareAnswerReader::Answer& answer : answers)
        onAnswer(answer);
}

void FwUpdateUploader::connectToDevice()
{
    const QString address = QX8Settings().value(settingskeys::kCurrentDeviceAddress).toString();
    if (address.isEmpty()) {
        connectionFailed();
        return;
    }
    m_phase = Phase::Connecting;
    m_socket.connectToHost(address, kPort);
    m_connectTimer.start();
}

void FwUpdateUploader::onConnected()
{
    m_connectTimer.stop();
    m_phase = Phase::Idle;
    qDebug() << "Connected to server";
    if (m_uploadPending) {
        m_uploadPending = false;
        announce();
    }
}

void FwUpdateUploader::connectionFailed()
{
    m_connectTimer.stop();
    m_socket.abort();
    m_phase = Phase::Unconnected;
    if (m_uploadPending)
        fail(kConnectFailed);
}

void FwUpdateUploader::announce()
{
    const QByteArray command =
        "write \"file\\updKaloTar\" " + QByteArray::number(m_fileSize) + " \n";
    qDebug() << "Initiating Firmware Transfer - " << m_fileSize;
    qDebug() << "Command: " << command;
    m_phase = Phase::Announced;
    // Whatever the device said before belongs to no answer of this upload.
    m_answers.clear();
    m_commandBytesPending += command.size();
    m_socket.write(command);
    m_stallTimer.start();
}

// Once the image goes, the device has nothing to say but an objection: any text ends the upload.
void FwUpdateUploader::onAnswer(const FirmwareAnswerReader::Answer& answer)
{
    qDebug() << "Data from Socket: " << answer.text;
    const QString words = QString::fromUtf8(answer.text);
    if (imageSent()) {
        if (answer.kind == FirmwareAnswerReader::Kind::Refused)
            fail(kRefused + words);
        else if (!answer.text.trimmed().isEmpty())
            fail(kNotConfirmed + words);
        return;
    }
    if (m_phase != Phase::Announced)
        return;
    switch (answer.kind) {
    case FirmwareAnswerReader::Kind::WriterOk:
        m_phase = Phase::Sending;
        m_stallTimer.start();
        sendFwUpdate(kChunkSize);
        break;
    case FirmwareAnswerReader::Kind::WriterOkFollowed:
        fail(QStringLiteral("The device answered the firmware upload with more than \"writer "
                            "OK\"; the image was not sent."));
        break;
    case FirmwareAnswerReader::Kind::Refused:
        fail(kRefused + words);
        break;
    case FirmwareAnswerReader::Kind::Other:
        break;
    }
}

// Ends the running upload with `text`. After the announcement the device holds part of an image,
// so the connection goes too.
void FwUpdateUploader::fail(const QString& text)
{
    m_stallTimer.stop();
    m_drainTimer.stop();
    m_objectionTimer.stop();
    m_file.close();
    m_uploadPending = false;
    if (m_phase == Phase::Announced || imageSent()) {
        m_socket.abort();
        m_phase = Phase::Unconnected;
        m_commandBytesPending = 0;
        m_answers.clear();
    }
    setUploadInProgress(false);
    Q_EMIT error(text);
}

void FwUpdateUploader::onUploadDone()
{
    m_stallTimer.stop();
    m_drainTimer.stop();
    m_objectionTimer.stop();
    m_file.close();
    m_phase = Phase::Idle;
    setUploadInProgress(false);
    Q_EMIT uploadDone();
    qDebug() << "File transfer completed";
}

void FwUpdateUploader::setUploadInProgress(bool inProgress)
{
    m_uploadInProgress = inProgress;
    Q_EMIT uploadInProgressChanged(inProgress);
}
