#include "ftpclientthread.h"

#include "ftpclientworker.h"

#include <QDebug>

namespace {
constexpr unsigned long kShutdownWaitMs = 3000;
}

const QString FtpClientThread::deviceUser = QStringLiteral("qx8ftp");
const QString FtpClientThread::devicePassword = QStringLiteral("qebtorin@847");

FtpClientThread::FtpClientThread(quint16 port, std::chrono::milliseconds requestTimeout,
                                 QObject* parent)
    : QObject(parent), m_worker(new FtpClientWorker(port, requestTimeout))
{
    m_thread.setObjectName(QStringLiteral("FTP session"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, m_worker, &FtpClientWorker::onStarted);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &FtpClientWorker::connected, this, &FtpClientThread::connected);
    connect(m_worker, &FtpClientWorker::disconnected, this, &FtpClientThread::disconnected);
    connect(m_worker, &FtpClientWorker::error, this, &FtpClientThread::error);
    connect(m_worker, &FtpClientWorker::fileList, this, &FtpClientThread::fileList);
    connect(m_worker, &FtpClientWorker::fileData, this, &FtpClientThread::fileData);
    connect(m_worker, &FtpClientWorker::actionFinished, this, &FtpClientThread::actionFinished);
    m_thread.start();
}

FtpClientThread::~FtpClientThread()
{
    m_thread.quit();
    if (!m_thread.wait(kShutdownWaitMs))
        qWarning() << "An FTP session thread did not end in time.";
}

void FtpClientThread::onConnectToHost(const QString& hostAddress, const QString& user,
                                      const QString& password)
{
    m_host = hostAddress;
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, hostAddress, user, password] {
        worker->connectToHost(hostAddress, user, password);
    });
}

void FtpClientThread::onDisconnectFromHost()
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] { worker->disconnectFromHost(); });
}

void FtpClientThread::onRequestFileList(const QString& dir)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, dir] { worker->requestFileList(dir); });
}

void FtpClientThread::onGetFile(const QString& dir, const QString& fileFullName)
{
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, dir, fileFullName] { worker->getFile(dir, fileFullName); });
}

void FtpClientThread::onPutFile(const QByteArray& fileData, const QString& dir,
                                const QString& fileFullName)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, fileData, dir, fileFullName] {
        worker->putFile(fileData, dir, fileFullName);
    });
}

void FtpClientThread::onRemoveFile(const QString& dir, const QString& fileFullName)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, dir, fileFullName] {
        worker->removeFile(dir, fileFullName);
    });
}

void FtpClientThread::onUpdateFile(const QByteArray& newFileData, const QString& dir,
                                   const QString& oldFileFullName, const QString& newFileFullName)
{
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, newFileData, dir, oldFileFullName, newFileFullName] {
            worker->updateFile(newFileData, dir, oldFileFullName, newFileFullName);
        });
}
