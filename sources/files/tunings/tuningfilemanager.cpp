#include "tuningfilemanager.h"

#include "datafolders.h"
#include "tuningfileworker.h"

#include <QCoreApplication>

namespace {
// The worker's own threads (FTP, downloads) end within their own bounded waits first.
constexpr std::chrono::milliseconds kShutdownWait{8000};
} // namespace

TuningFileManager* TuningFileManager::instance()
{
    // Lives to the end of the process; its thread ends at aboutToQuit.
    static TuningFileManager* manager = new TuningFileManager;
    return manager;
}

TuningFileManager::TuningFileManager() : m_worker(QStringLiteral("Tuning files"), kShutdownWait)
{
    registerTuningMetaTypes();
    // First, so that the state is current for every other receiver.
    connect(this, &TuningFileManager::connected, this, [this] { m_connected = true; });
    connect(this, &TuningFileManager::disconnected, this, [this] { m_connected = false; });
    m_worker.start([this] {
        auto* worker = new TuningFileWorker(QString::fromStdString(USER_PATH), m_validationMode);
        WorkerThread::forwardSignals(worker, this, TuningFileSignals::staticMetaObject);
        return worker;
    });
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &TuningFileManager::shutdown);
}

void TuningFileManager::shutdown()
{
    m_worker.stop();
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

void TuningFileManager::setCloudUpdateBudget(const DownloadBudget& budget)
{
    m_worker.post([budget](TuningFileWorker& worker) { worker.setCloudUpdateBudget(budget); });
}

void TuningFileManager::initialize(const QString& ip, bool full)
{
    m_hostAddress = ip;
    m_worker.post([ip, full](TuningFileWorker& worker) { worker.initialize(ip, full); });
}

void TuningFileManager::onSignalApplyChanges(const BrandSeriesMap& groups)
{
    m_worker.post([groups](TuningFileWorker& worker) { worker.applyChanges(groups); });
}

void TuningFileManager::onSignalUpdateFromCloud()
{
    m_worker.post([](TuningFileWorker& worker) { worker.updateFromCloud(); });
}

void TuningFileManager::onSignalResetTunings()
{
    m_worker.post([](TuningFileWorker& worker) { worker.resetTunings(); });
}
