#pragma once

#include "downloadbudget.h"
#include "fileinfo.h"
#include "tuningfilesignals.h"
#include "workerthread.h"

#include <QString>

#include <atomic>

class TuningFileWorker;

// The process-wide tuning-file service: keeps the factory set, the local store, the device's
// two tuning folders and the cloud in step. Its state lives in a worker on a thread of its own
// (TuningFileWorker); this object, in the thread of the first instance() call, posts requests
// to it and passes its results back, queued. Its thread ends at aboutToQuit (WorkerThread::stop()).
class TuningFileManager : public TuningFileSignals
{
    Q_OBJECT
    Q_PROPERTY(bool validationMode READ validationMode WRITE setValidationMode NOTIFY
                   validationModeChanged)

public:
    // Creates the manager on first use and starts its thread.
    static TuningFileManager* instance();

    bool validationMode() const { return m_validationMode; }
    void setValidationMode(bool validationMode);
    // Whether the device session is logged in, as last reported.
    bool isConnected() const { return m_connected; }
    // The device address of the last initialisation.
    QString hostAddress() const;
    // What each later cloud update may take of the disk; kCloudUpdateBudget unless set.
    void setCloudUpdateBudget(const DownloadBudget& budget);

    // Ends the threads; the manager takes no requests afterwards.
    void shutdown();
    // The local store's folders need no permission of the user here: nothing to check.
    void ValidateStoragePermission() {}

public Q_SLOTS:
    // With `full`, also connects to the device at `ip` and syncs its tuning folders.
    void initialize(const QString& ip, bool full = true);
    // Carries out the actions chosen in `groups` (each group's first record) on the device.
    void onSignalApplyChanges(const BrandSeriesMap& groups);
    void onSignalUpdateFromCloud();
    // Back to the factory set, locally and on the device ("Custom" files stay there).
    void onSignalResetTunings();

Q_SIGNALS:
    // The records as one flat list; the screen takes them grouped (mapBrandSeriesToFileInfoList),
    // so nothing emits this.
    void fileInfoList(FileInfoList* fileInfoList);
    void validationModeChanged(bool validationMode);

private:
    TuningFileManager();

    std::atomic<bool> m_validationMode{false};
    std::atomic<bool> m_connected{false};
    QString m_hostAddress;
    WorkerHost<TuningFileWorker> m_worker;
};
