#pragma once

#include "fileinfo.h"
#include "localtuningstore.h"
#include "tuningcatalog.h"

#include <QObject>
#include <QPair>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>

class DownloadManager;
class FtpClientThread;

// The worker of TuningFileManager, on the manager's thread: owns every piece of tuning state
// and runs one operation at a time. A request that comes while one runs waits for it.
//
// Operations and their phases:
//   Initialize  seed the local store, build the records, publish
//   Sync        seed, connect, list both device folders, fetch what the store lacks, publish
// Every operation ends with initialized(true|false) 500 ms after its last step (or with its own
// completion signal), and every queue of the operation is cleared at its start and on error.
class TuningFileWorker : public QObject
{
    Q_OBJECT

public:
    static const QString deviceUser;
    static const QString devicePassword;

    TuningFileWorker(const QString& dataFolder, const std::atomic<bool>& validationMode);
    ~TuningFileWorker() override;

    // On the manager's thread, before any request.
    void start();
    void initialize(const QString& ip, bool full);

Q_SIGNALS:
    void connected();
    void disconnected();
    void error(QString errorString);
    void progressMessage(QString message);
    void mapBrandSeriesToFileInfoList(BrandSeriesMap map);
    void brandList(QStringList list);
    void initialized(bool success);

private:
    enum class Operation { Idle, Initialize, Sync };
    enum ListingFlag : quint8 { SpeakerListed = 1, AmplifierListed = 16 };

    bool startOrWait(const std::function<void()>& request);
    void endOperation();
    void finishOperation(bool success);
    void failOperation(const QString& logText, const QString& userText = {});

    void onConnected();
    void onDisconnected();
    void onError(const QString& errorString);
    void onFileList(const QString& dir, const QStringList& list);
    void onFileData(const QByteArray& data, const QString& dir, const QString& fileName);

    void seedLocalStore();
    void refreshLocalStore();
    void startFetching();
    void fetchNextOrClose();
    void publishRecords();
    void emitProgress(const QString& format);
    int remoteCount() const;
    int localCount() const;

    LocalTuningStore m_store;
    TuningCatalog m_catalog;
    const std::atomic<bool>& m_validationMode;
    FtpClientThread* m_ftp = nullptr;
    DownloadManager* m_downloads = nullptr;

    Operation m_operation = Operation::Idle;
    QList<std::function<void()>> m_waiting;
    bool m_loggedIn = false;
    quint8 m_receivedFlags = 0;
    std::array<QStringList, 2> m_remoteFiles;
    QList<QPair<QString, QString>> m_pendingFetches; // (device folder, file)
    QStringList m_brands;
    int m_totalCount = 0;
    int m_doneCount = 0;
    QString m_lastProgress;
};
