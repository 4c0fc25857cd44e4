#include "ftpclientworker.h"

#include "ftpclientthread.h"
#include "ftpnamelist.h"

#include <QDebug>

FtpClientWorker::FtpClientWorker(quint16 port, std::chrono::milliseconds requestTimeout)
    : m_port(port), m_requestTimeout(requestTimeout)
{
    m_buffer = new QBuffer(this);
    m_watchdog = new QTimer(this);
    m_watchdog->setSingleShot(true);
    m_watchdog->setInterval(m_requestTimeout);
    connect(m_watchdog, &QTimer::timeout, this, &FtpClientWorker::onWatchdog);
    createClient();
}

void FtpClientWorker::createClient()
{
    m_ftp = new QFtp(this);
    connect(m_ftp, &QFtp::commandStarted, this, &FtpClientWorker::onCommandStarted);
    connect(m_ftp, &QFtp::commandFinished, this, &FtpClientWorker::onCommandFinished);
    connect(m_ftp, &QFtp::stateChanged, this, &FtpClientWorker::onStateChanged);
    connect(m_ftp, &QFtp::dataTransferProgress, this, &FtpClientWorker::onProgress);
    connect(m_ftp, &QFtp::rawCommandReply, this, [this](int replyCode, const QString& detail) {
        m_storedFileCheck.onRawCommandReply(replyCode, detail);
    });
    connect(m_ftp, &QFtp::listInfo, this,
            [this](const QUrlInfo& info) { m_storedFileCheck.onListInfo(info); });
}

// Throws the client away without waiting for the server; it may be the sender of the signal
// being handled, so it goes later.
void FtpClientWorker::destroyClient()
{
    if (!m_ftp)
        return;
    const bool wasConnected = m_ftp->state() != QFtp::Unconnected;
    m_ftp->disconnect(this);
    m_ftp->abort();
    m_ftp->deleteLater();
    m_ftp = nullptr;
    closeBuffer();
    if (wasConnected)
        Q_EMIT disconnected();
}

bool FtpClientWorker::begin(Request request, const QString& dir, const QString& file)
{
    if (!m_ftp) {
        Q_EMIT error(QStringLiteral("Network thread is not initialized"));
        return false;
    }
    if (m_request != Request::None)
        qWarning() << "FTP request started while another one runs";
    m_request = request;
    m_storedFileCheck.cancel();
    m_replacedFile.clear();
    m_announcedSize = 0;
    m_currentDir = dir;
    m_currentFileName = file;
    m_watchdog->start();
    return true;
}

void FtpClientWorker::connectToHost(const QString& host, const QString& user,
                                    const QString& password)
{
    // A fresh client each time: an old one may hang in a dead session or a half-done close.
    destroyClient();
    createClient();
    m_host = host;
    if (!begin(Request::Connect, {}))
        return;
    m_ftp->connectToHost(host, m_port);
    m_lastCommand = m_ftp->login(user, password);
}

void FtpClientWorker::disconnectFromHost()
{
    m_watchdog->stop();
    m_request = Request::None;
    if (m_ftp && m_ftp->state() == QFtp::LoggedIn && !m_ftp->hasPendingCommands()) {
        m_ftp->close();
        return;
    }
    destroyClient();
    createClient();
}

void FtpClientWorker::requestFileList(const QString& dir)
{
    if (!begin(Request::List, dir))
        return;
    m_ftp->cd(dir);
    m_lastCommand = m_ftp->nameList(m_buffer);
}

void FtpClientWorker::getFile(const QString& dir, const QString& file)
{
    if (!begin(Request::Get, dir, file))
        return;
    m_ftp->cd(dir);
    m_lastCommand = m_ftp->get(file, m_buffer, QFtp::Binary);
}

void FtpClientWorker::putFile(const QByteArray& data, const QString& dir, const QString& file)
{
    if (!begin(Request::Action, dir, file))
        return;
    m_ftp->cd(dir);
    m_lastCommand = putAndCheck(data, file);
}

// A stored file counts only once the check confirms that the device holds every byte sent.
int FtpClientWorker::putAndCheck(const QByteArray& data, const QString& file)
{
    m_ftp->put(data, file, QFtp::Binary);
    return m_storedFileCheck.start(*m_ftp, file, data.size());
}

void FtpClientWorker::removeFile(const QString& dir, const QString& file)
{
    if (!begin(Request::Action, dir, file))
        return;
    m_ftp->cd(dir);
    m_lastCommand = m_ftp->remove(file);
}

// The new file first: a failed upload never costs the device its old one.
void FtpClientWorker::updateFile(const QByteArray& data, const QString& dir, const QString& oldFile,
                                 const QString& newFile)
{
    if (!begin(Request::Action, dir, newFile))
        return;
    m_ftp->cd(dir);
    m_lastCommand = putAndCheck(data, newFile);
    if (oldFile != newFile)
        m_replacedFile = oldFile;
}

void FtpClientWorker::onCommandStarted(int)
{
    const QFtp::Command command = m_ftp->currentCommand();
    qDebug() << "Command started:" << command;
    if (m_request != Request::None)
        m_watchdog->start();
    if (command == QFtp::NameList || command == QFtp::Get) {
        m_buffer->close();
        m_buffer->setData(QByteArray());
        if (m_buffer->open(QIODevice::ReadWrite | QIODevice::Truncate))
            qDebug() << "Buffer opened";
        else
            qWarning() << "Failed to open buffer";
    }
}

void FtpClientWorker::onCommandFinished(int id, bool hasError)
{
    const QFtp::Command command = m_ftp->currentCommand();
    qDebug() << "Command finished:" << command;
    if (m_request == Request::None)
        return;
    m_watchdog->start();
    if (m_storedFileCheck.owns(id)) {
        onStoredFileChecked(m_storedFileCheck.onCommandFinished(*m_ftp, hasError));
        return;
    }
    if (hasError) {
        // The device answers NLST of an empty folder with 450.
        if (command == QFtp::NameList &&
            (m_ftp->error() == QFtp::NoFilesFound ||
             m_ftp->errorString().contains(QLatin1String("No files found")))) {
            finishRequest();
            Q_EMIT fileList(m_currentDir, {});
            closeBuffer();
            return;
        }
        fail(failurePrefix(command) + m_ftp->errorString());
        return;
    }
    if (id != m_lastCommand)
        return;
    const Request request = m_request;
    const QByteArray bytes = m_buffer->data();
    finishRequest();
    switch (request) {
    case Request::List:
        Q_EMIT fileList(m_currentDir, ftpnamelist::entries(bytes));
        break;
    case Request::Get:
        // A device that cuts a transfer short may still answer 226: the size it told decides.
        if (m_announcedSize > 0 && bytes.size() != m_announcedSize) {
            fail(QStringLiteral("File download failed: %1 holds %2 bytes on the device, %3 came")
                     .arg(m_currentFileName)
                     .arg(m_announcedSize)
                     .arg(bytes.size()));
            break;
        }
        Q_EMIT fileData(bytes, m_currentDir, m_currentFileName);
        break;
    case Request::Action:
        Q_EMIT actionFinished();
        break;
    case Request::Connect:
    case Request::None:
        break;
    }
    closeBuffer();
}

void FtpClientWorker::onStoredFileChecked(StoredFileCheck::Verdict verdict)
{
    switch (verdict) {
    case StoredFileCheck::Verdict::Pending:
        m_lastCommand = m_storedFileCheck.command();
        break;
    case StoredFileCheck::Verdict::Failed:
        fail(failurePrefix(QFtp::Put) + m_storedFileCheck.failure());
        break;
    case StoredFileCheck::Verdict::Confirmed:
        if (!m_replacedFile.isEmpty()) {
            m_lastCommand = m_ftp->remove(m_replacedFile);
            m_replacedFile.clear();
            break;
        }
        finishRequest();
        Q_EMIT actionFinished();
        break;
    }
}

void FtpClientWorker::onStateChanged(int state)
{
    static const char* const lines[] = {nullptr,     "HostLookup", "Connecting",
                                        "Connected", "Logged in",  "Closing"};
    if (state > QFtp::Unconnected && state <= QFtp::Closing)
        qDebug() << lines[state];
    if (state == QFtp::Unconnected)
        Q_EMIT disconnected();
    else if (state == QFtp::LoggedIn)
        Q_EMIT connected();
}

void FtpClientWorker::onProgress(qint64 done, qint64 total)
{
    if (m_request == Request::None)
        return;
    m_watchdog->start();
    const QFtp::Command command = m_ftp->currentCommand();
    if (command == QFtp::Get)
        m_announcedSize = total;
    const qint64 limit = command == QFtp::NameList || command == QFtp::List ? kListingLimit
                         : command == QFtp::Get                             ? kFileLimit
                                                                            : -1;
    if (limit < 0 || done <= limit)
        return;
    destroyClient();
    createClient();
    fail(failurePrefix(command) + QStringLiteral("more than %1 bytes").arg(limit));
}

void FtpClientWorker::onWatchdog()
{
    if (m_request == Request::None)
        return;
    const QFtp::Command command = m_ftp ? m_ftp->currentCommand() : QFtp::None;
    destroyClient();
    createClient();
    const QString prefix = command != QFtp::None           ? failurePrefix(command)
                           : m_request == Request::Connect ? failurePrefix(QFtp::ConnectToHost)
                                                           : QString();
    fail(prefix + QStringLiteral("no answer from %1 for %2 seconds")
                      .arg(m_host)
                      .arg(m_requestTimeout.count() / 1000.0));
}

void FtpClientWorker::fail(const QString& text)
{
    finishRequest();
    qInfo().noquote() << text;
    Q_EMIT error(text);
    closeBuffer();
}

void FtpClientWorker::finishRequest()
{
    m_watchdog->stop();
    m_request = Request::None;
    m_storedFileCheck.cancel();
}

// After the result of a listing or a download has gone out.
void FtpClientWorker::closeBuffer()
{
    if (!m_buffer->isOpen())
        return;
    m_buffer->close();
    qDebug() << "Buffer closed";
}

QString FtpClientWorker::failurePrefix(QFtp::Command command)
{
    switch (command) {
    case QFtp::ConnectToHost:
        return QStringLiteral("Connection failed: ");
    case QFtp::Login:
        return QStringLiteral("Login failed: ");
    case QFtp::Cd:
        return QStringLiteral("Change directory failed: ");
    case QFtp::NameList:
        return FtpClientThread::listingFailure;
    case QFtp::Get:
        return QStringLiteral("File download failed: ");
    case QFtp::Remove:
        return QStringLiteral("File remove failed: ");
    default:
        return QStringLiteral("File upload failed: ");
    }
}
