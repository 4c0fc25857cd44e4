#pragma once

#include "deviceactions.h"
#include "downloadbudget.h"
#include "fileinfo.h"
#include "localtuningstore.h"
#include "tuningcatalog.h"
#include "tuningfilesignals.h"

#include <QObject>
#include <QPair>
#include <QStringList>
#include <QUrl>

#include <array>
#include <atomic>
#include <functional>

class DownloadManager;
class FtpClientThread;

// The worker of TuningFileManager, on the manager's thread (WorkerHost): owns every piece of tuning
// state and runs one operation at a time. A request that comes while one runs waits for it.
//
// Operations and their phases:
//   Initialize  seed the local store, build the records, publish
//   Sync        seed, connect, list both device folders, fetch what the store lacks, publish
//   Apply       (re)connect, list both device folders, plan the chosen actions, run them one at
//               a time -> changesApplied()
//   Reset       delete and reseed the local store, (re)connect, list, plan removals and
//               additions, run them -> tuningsReset()
//   Cloud       both manifests, then the newer files a side at a time into staging (within a
//               budget of bytes and free space), copy the ones that arrived, empty the staging
//               folders -> updatedFromCloud()
// An operation that fails or has nothing to do ends with initialized(true|false) 500 ms after its
// last step; every queue of an operation is cleared at its start and on error.
class TuningFileWorker : public TuningFileSignals
{
    Q_OBJECT

public:
    // Made on the thread it works on.
    TuningFileWorker(const QString& dataFolder, const std::atomic<bool>& validationMode);
    ~TuningFileWorker() override;

    void initialize(const QString& ip, bool full);
    void applyChanges(const BrandSeriesMap& groups);
    void resetTunings();
    void updateFromCloud();
    // What each later cloud update may take of the disk.
    void setCloudUpdateBudget(const DownloadBudget& budget) { m_cloudBudget = budget; }

private:
    enum class Operation { Idle, Initialize, Sync, Apply, Reset, Cloud };
    // One cloud update: which manifests are in, what to fetch, what arrived.
    struct CloudRun
    {
        bool failed = false;
        bool manifestsRead = false;
        bool fileErrorShown = false;
        TuningSide filesSide = TuningSide::Speaker;
        std::array<QList<QUrl>, 2> wanted;
        std::array<QStringList, 2> arrived;
    };
    enum ListingFlag : quint8 { SpeakerListed = 1, AmplifierListed = 16 };

    bool startOrWait(const std::function<void()>& request);
    void endOperation();
    void finishOperation(bool success);
    void failOperation(const QString& logText, const QString& userText);
    // What the screen says above an FTP failure of the running operation ("%1": the failure).
    QString failureLead() const;

    void onConnected();
    void onDisconnected();
    void onError(const QString& errorString);
    void onFileList(const QString& dir, const QStringList& list);
    void onFileData(const QByteArray& data, const QString& dir, const QString& fileName);
    void onActionFinished();
    void onCurrentDownloadFinished(const QUrl& url, bool success, const QString& errorString);
    void onAllDonwloadsFinished();
    void onDownloadsStopped(const QString& cause);

    void seedLocalStore();
    void refreshLocalStore();
    void startFetching();
    void fetchNextOrClose();
    void updateFileInfoList();
    void publishRecords();
    void connectAndList();
    void requestListings();
    void resetLocalTunings();
    void resetRemoteTunings();
    void startActions(DeviceActionList actions);
    void performCurrentAction(const DeviceAction& action);
    const QString& actionProgressFormat() const;
    void readManifests();
    void requestWantedFiles(TuningSide side);
    void copyArrivedFiles();
    void failCloudUpdate(const QString& userText);
    void emitProgress(const QString& format);
    int remoteCount() const;
    int localCount() const;

    LocalTuningStore m_store;
    TuningCatalog m_catalog;
    const std::atomic<bool>& m_validationMode;
    DownloadManager* m_downloads;
    FtpClientThread* m_ftp;

    Operation m_operation = Operation::Idle;
    QList<std::function<void()>> m_waiting;
    bool m_loggedIn = false;
    quint8 m_receivedFlags = 0;
    std::array<QStringList, 2> m_remoteFiles;
    QList<QPair<QString, QString>> m_pendingFetches; // (device folder, file)
    QString m_host;
    BrandSeriesMap m_requestedChanges;
    DeviceActionList m_actions;
    QStringList m_unreadable;
    CloudRun m_cloud;
    DownloadBudget m_cloudBudget = kCloudUpdateBudget;
    // What stopped the file the download queue reports next, when not the network.
    QString m_stopCause;
    QStringList m_brands;
    int m_totalCount = 0;
    int m_doneCount = 0;
    QString m_lastProgress;
};
