#include "tuningfilemanager.h"

#include "datafolders.h"
#include "tuningfileworker.h"

#include <QCoreApplication>
#include <QDebug>

namespace {
// The worker's own threads (FTP, downloads) end within their own bounded waits first.
constexpr unsigned long kShutdownWaitMs = 8000;
} // namespace

TuningFileManager* TuningFileManager::instance()
{
    // Lives to the end of the process; its threads end at aboutToQuit.
    static TuningFileManager* manager = new TuningFileManager;
    return manager;
}

TuningFileManager::TuningFileManager()
    : m_worker(new TuningFileWorker(QString::fromStdString(USER_PATH), m_validationMode))
{
    registerTuningMetaTypes();
    m_thread.setObjectName(QStringLiteral("Tuning files"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, m_worker, &TuningFileWorker::onThreadStarted);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);

    connect(m_worker, &TuningFileWorker::connected, this, [this] {
        m_connected = true;
        Q_EMIT connected();
    });
    connect(m_worker, &TuningFileWorker::disconnected, this, [this] {
        m_connected = false;
        Q_EMIT disconnected();
    });
    connect(m_worker, &TuningFileWorker::error, this, &TuningFileManager::error);
    connect(m_worker, &TuningFileWorker::progressMessage, this,
            &TuningFileManager::progressMessage);
    connect(m_worker, &TuningFileWorker::mapBrandSeriesToFileInfoList, this,
            &TuningFileManager::mapBrandSeriesToFileInfoList);
    connect(m_worker, &TuningFileWorker::brandList, this, &TuningFileManager::brandList);
    connect(m_worker, &TuningFileWorker::initialized, this, &TuningFileManager::initialized);
    connect(m_worker, &TuningFileWorker::changesApplied, this, &TuningFileManager::changesApplied);
    connect(m_worker, &TuningFileWorker::updatedFromCloud, this,
            &TuningFileManager::updatedFromCloud);
    connect(m_worker, &TuningFileWorker::tuningsReset, this, &TuningFileManager::tuningsReset);

    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &TuningFileManager::shutdown);
    m_thread.start();
}

void TuningFileManager::shutdown()
{
    if (m_thread.isFinished() || !m_thread.isRunning())
        return;
    m_thread.quit();
    if (!m_thread.wait(kShutdownWaitMs))
        qWarning() << "The tuning-file thread did not end in time.";
}

void TuningFileManager::setValidationMode(bool validationMode)
{
    if (m_validationMode.exchange(validationMode) == validationMode)
        return;
    Q_EMIT validationModeChanged(validationMode);
}

QString TuningFileManager::hostAddress() const
{
    return m_hostAddress;
}

void TuningFileManager::initialize(const QString& ip, bool full)
{
    m_hostAddress = ip;
    QMetaObject::invokeMethod(m_worker,
                              [worker = m_worker, ip, full] { worker->initialize(ip, full); });
}

void TuningFileManager::onSignalApplyChanges(const BrandSeriesMap& groups)
{
    QMetaObject::invokeMethod(m_worker,
                              [worker = m_worker, groups] { worker->applyChanges(groups); });
}

void TuningFileManager::onSignalUpdateFromCloud()
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] { worker->updateFromCloud(); });
}

void TuningFileManager::onSignalResetTunings()
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] { worker->resetTunings(); });
}
