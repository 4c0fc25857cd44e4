#include "ftpclientthread.h"

#include "ftpclientworker.h"

namespace {
constexpr std::chrono::milliseconds kShutdownWait{3000};
}

const QString FtpClientThread::deviceUser = QStringLiteral("qx8ftp");
const QString FtpClientThread::devicePassword = QStringLiteral("qebtorin@847");
const QString FtpClientThread::listingFailure = QStringLiteral("File listing failed: ");

QString FtpClientThread::briefError(const QString& errorString)
{
    QStringList lines = errorString.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    const int prefixEnd = lines.first().indexOf(QLatin1String(": ")) + 2;
    if (lines.size() < 2 || prefixEnd < 2 || errorString.startsWith(listingFailure))
        return lines.first();
    return lines.first().left(prefixEnd) + lines.at(1);
}

FtpClientThread::FtpClientThread(quint16 port, std::chrono::milliseconds requestTimeout,
                                 QObject* parent)
    : FtpSessionSignals(parent), m_session(QStringLiteral("FTP session"), kShutdownWait)
{
    m_session.start([this, port, requestTimeout] {
        auto* worker = new FtpClientWorker(port, requestTimeout);
        WorkerThread::forwardSignals(worker, this, FtpSessionSignals::staticMetaObject);
        return worker;
    });
}

void FtpClientThread::onConnectToHost(const QString& hostAddress, const QString& user,
                                      const QString& password)
{
    m_hostAddress = hostAddress;
    m_session.post([hostAddress, user, password](FtpClientWorker& worker) {
        worker.connectToHost(hostAddress, user, password);
    });
}

void FtpClientThread::onDisconnectFromHost()
{
    m_session.post([](FtpClientWorker& worker) { worker.disconnectFromHost(); });
}

void FtpClientThread::onRequestFileList(const QString& dir)
{
    m_session.post([dir](FtpClientWorker& worker) { worker.requestFileList(dir); });
}

void FtpClientThread::onGetFile(const QString& dir, const QString& fileFullName)
{
    m_session.post(
        [dir, fileFullName](FtpClientWorker& worker) { worker.getFile(dir, fileFullName); });
}

void FtpClientThread::onPutFile(const QByteArray& fileData, const QString& dir,
                                const QString& fileFullName)
{
    m_session.post([fileData, dir, fileFullName](FtpClientWorker& worker) {
        worker.putFile(fileData, dir, fileFullName);
    });
}

void FtpClientThread::onRemoveFile(const QString& dir, const QString& fileFullName)
{
    m_session.post(
        [dir, fileFullName](FtpClientWorker& worker) { worker.removeFile(dir, fileFullName); });
}

void FtpClientThread::onUpdateFile(const QByteArray& newFileData, const QString& dir,
                                   const QString& oldFileFullName, const QString& newFileFullName)
{
    m_session.post([newFileData, dir, oldFileFullName, newFileFullName](FtpClientWorker& worker) {
        worker.updateFile(newFileData, dir, oldFileFullName, newFileFullName);
    });
}
