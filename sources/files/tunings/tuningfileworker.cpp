#include "tuningfileworker.h"

#include "cloudmanifest.h"
#include "downloadmanager.h"
#include "ftpclientthread.h"
#include "tuningname.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <utility>

namespace {
constexpr int kPublishDelayMs = 500;
const QString kUnreachable = QStringLiteral(
    "Failed to connect to update server. Please check your internet connection and try again.");

int sideIndex(TuningSide side)
{
    return side == TuningSide::Speaker ? 0 : 1;
}
} // namespace

TuningFileWorker::TuningFileWorker(const QString& dataFolder,
                                   const std::atomic<bool>& validationMode)
    : m_store(dataFolder)
    , m_validationMode(validationMode)
    , m_downloads(new DownloadManager(this))
    , m_ftp(
          new FtpClientThread(FtpClientThread::kDevicePort, FtpClientThread::kRequestTimeout, this))
{
    connect(m_ftp, &FtpClientThread::connected, this, &TuningFileWorker::onConnected);
    connect(m_ftp, &FtpClientThread::disconnected, this, &TuningFileWorker::onDisconnected);
    connect(m_ftp, &FtpClientThread::error, this, &TuningFileWorker::onError);
    connect(m_ftp, &FtpClientThread::fileList, this, &TuningFileWorker::onFileList);
    connect(m_ftp, &FtpClientThread::fileData, this, &TuningFileWorker::onFileData);
    connect(m_ftp, &FtpClientThread::actionFinished, this, &TuningFileWorker::onActionFinished);
    connect(m_downloads, &DownloadManager::currentDownloadStopped, this,
            [this](const QUrl&, const QString& cause) { m_stopCause = cause; });
    connect(m_downloads, &DownloadManager::downloadsStopped, this,
            &TuningFileWorker::onDownloadsStopped);
    connect(m_downloads, &DownloadManager::currentDownloadFinished, this,
            &TuningFileWorker::onCurrentDownloadFinished);
    connect(m_downloads, &DownloadManager::allDonwloadsFinished, this,
            &TuningFileWorker::onAllDonwloadsFinished);
}

TuningFileWorker::~TuningFileWorker() = default;

// Runs `request` now when no operation runs, otherwise after the ones before it. True when it
// ran now.
bool TuningFileWorker::startOrWait(const std::function<void()>& request)
{
    if (m_operation == Operation::Idle)
        return true;
    qInfo() << "A tuning operation is running; the new request waits for it.";
    m_waiting.append(request);
    return false;
}

void TuningFileWorker::endOperation()
{
    m_operation = Operation::Idle;
    if (!m_waiting.isEmpty())
        QTimer::singleShot(0, this, m_waiting.takeFirst());
}

void TuningFileWorker::finishOperation(bool success)
{
    QTimer::singleShot(kPublishDelayMs, this, [this, success] {
        Q_EMIT initialized(success);
        endOperation();
    });
}

void TuningFileWorker::failOperation(const QString& logText, const QString& userText)
{
    qInfo().noquote() << "Tuning operation failed:" << logText;
    m_pendingFetches.clear();
    m_actions.clear();
    m_receivedFlags = 0;
    m_ftp->onDisconnectFromHost();
    Q_EMIT error(userText);
    finishOperation(false);
}

void TuningFileWorker::initialize(const QString& ip, bool full)
{
    if (!startOrWait([this, ip, full] { initialize(ip, full); }))
        return;
    m_operation = full ? Operation::Sync : Operation::Initialize;
    m_lastProgress.clear();
    Q_EMIT progressMessage(QStringLiteral("Initializing..."));
    m_brands = QStringList{TuningCatalog::showAll};
    seedLocalStore();
    if (!full) {
        m_totalCount = localCount();
        m_doneCount = 0;
        emitProgress(QStringLiteral("Parsing tunings...%1%"));
        publishRecords();
        return;
    }
    m_host = ip;
    m_catalog.clearRemote();
    m_remoteFiles = {};
    m_pendingFetches.clear();
    Q_EMIT progressMessage(QStringLiteral("Connecting to remote server..."));
    m_ftp->onConnectToHost(ip, FtpClientThread::deviceUser, FtpClientThread::devicePassword);
}

void TuningFileWorker::applyChanges(const BrandSeriesMap& groups)
{
    if (!startOrWait([this, groups] { applyChanges(groups); }))
        return;
    m_operation = Operation::Apply;
    m_requestedChanges = groups;
    connectAndList();
}

// The local half at once; the device's half once both of its folders have been listed afresh.
void TuningFileWorker::resetTunings()
{
    if (!startOrWait([this] { resetTunings(); }))
        return;
    m_operation = Operation::Reset;
    resetLocalTunings();
    connectAndList();
}

void TuningFileWorker::resetLocalTunings()
{
    Q_EMIT progressMessage(QStringLiteral("Resetting local tunings..."));
    removeDirectoryRecursively(QDir(m_store.tuningRoot()));
    seedLocalStore();
}

void TuningFileWorker::resetRemoteTunings()
{
    startActions(resetActions(
        {m_store.files(TuningSide::Speaker), m_store.files(TuningSide::Amplifier)}, m_remoteFiles));
}

// Device actions are planned from a fresh listing, over a session that may have ended since the
// last sync.
void TuningFileWorker::connectAndList()
{
    m_actions.clear();
    m_unreadable.clear();
    if (m_loggedIn) {
        requestListings();
        return;
    }
    Q_EMIT progressMessage(QStringLiteral("Connecting to remote server..."));
    m_ftp->onConnectToHost(m_host, FtpClientThread::deviceUser, FtpClientThread::devicePassword);
}

void TuningFileWorker::requestListings()
{
    m_receivedFlags = 0;
    m_ftp->onRequestFileList(tuningside::speakerFolder);
}

void TuningFileWorker::onConnected()
{
    m_loggedIn = true;
    Q_EMIT connected();
    if (m_operation == Operation::Sync)
        Q_EMIT progressMessage(QStringLiteral("Receiving tunings..."));
    if (m_operation == Operation::Sync || m_operation == Operation::Apply ||
        m_operation == Operation::Reset)
        requestListings();
}

void TuningFileWorker::onDisconnected()
{
    m_loggedIn = false;
    Q_EMIT disconnected();
    m_brands = QStringList{TuningCatalog::showAll};
    m_remoteFiles = {};
    m_catalog.clearRemote();
}

// The user learns what the device's storage answered, not only that the operation failed.
void TuningFileWorker::onError(const QString& errorString)
{
    if (m_operation == Operation::Idle) {
        qDebug().noquote() << "FTP error outside an operation:" << errorString;
        return;
    }
    failOperation(errorString, failureLead().arg(FtpClientThread::briefError(errorString)));
}

QString TuningFileWorker::failureLead() const
{
    switch (m_operation) {
    case Operation::Apply:
        return QStringLiteral("The changes could not be made on the Spandrell QX8.\n%1");
    case Operation::Reset:
        return QStringLiteral("The tunings on the Spandrell QX8 could not be reset.\n%1");
    default:
        return QStringLiteral("The tunings on the Spandrell QX8 could not be read.\n%1");
    }
}

void TuningFileWorker::onFileList(const QString& dir, const QStringList& list)
{
    if (m_operation != Operation::Sync && m_operation != Operation::Apply &&
        m_operation != Operation::Reset)
        return;
    const TuningSide side = tuningside::fromFolder(dir);
    QStringList names;
    for (const QString& name : list) {
        if (name.isEmpty())
            continue;
        if (tuningname::isTuningName(name))
            names.append(name);
        else
            qWarning().noquote() << "Device listing of" << dir
                                 << "holds a name that is refused:" << name;
    }
    names.sort(Qt::CaseInsensitive);
    m_remoteFiles[sideIndex(side)] = names;
    m_catalog.setRemoteFiles(side, names);
    m_receivedFlags |= side == TuningSide::Speaker ? SpeakerListed : AmplifierListed;
    if (!(m_receivedFlags & SpeakerListed)) {
        m_ftp->onRequestFileList(tuningside::speakerFolder);
        return;
    }
    if (!(m_receivedFlags & AmplifierListed)) {
        m_ftp->onRequestFileList(tuningside::amplifierFolder);
        return;
    }
    m_receivedFlags = 0;
    if (m_operation == Operation::Sync) {
        startFetching();
    } else if (m_operation == Operation::Apply) {
        qDebug() << "Entering";
        startActions(applyActions(m_requestedChanges, m_catalog));
    } else {
        resetRemoteTunings();
    }
}

void TuningFileWorker::startActions(DeviceActionList actions)
{
    qDebug() << "Planned device actions:" << actions;
    m_actions = std::move(actions);
    m_totalCount = m_actions.size();
    m_doneCount = 0;
    m_lastProgress.clear();
    if (m_actions.isEmpty()) {
        if (m_operation == Operation::Reset) {
            Q_EMIT tuningsReset();
            endOperation();
        } else {
            finishOperation(true);
        }
        return;
    }
    emitProgress(actionProgressFormat());
    performCurrentAction(m_actions.takeFirst());
}

const QString& TuningFileWorker::actionProgressFormat() const
{
    static const QString applying = QStringLiteral("Applying Changes...%1%");
    static const QString resetting = QStringLiteral("Resetting remote tunings...%1%");
    return m_operation == Operation::Reset ? resetting : applying;
}

void TuningFileWorker::performCurrentAction(const DeviceAction& action)
{
    const TuningSide side = tuningside::fromFolder(action.dir);
    qDebug().noquote() << QStringLiteral("Performing current action: %1 for file: %2")
                              .arg(action.word(), action.path());
    if (action.kind == DeviceAction::Kind::Remove) {
        m_ftp->onRemoveFile(action.dir, action.deviceFile);
        return;
    }
    QString failure;
    const QByteArray data = m_store.read(side, action.localFile, &failure);
    if (!failure.isEmpty()) {
        // One unreadable file does not stop the others; it is reported at the end.
        qWarning().noquote() << failure;
        m_unreadable.append(action.localFile);
        onActionFinished();
        return;
    }
    if (action.kind == DeviceAction::Kind::Add)
        m_ftp->onPutFile(data, action.dir, action.localFile);
    else
        m_ftp->onUpdateFile(data, action.dir, action.deviceFile, action.localFile);
}

void TuningFileWorker::onActionFinished()
{
    if (m_operation != Operation::Apply && m_operation != Operation::Reset)
        return;
    ++m_doneCount;
    emitProgress(actionProgressFormat());
    if (!m_actions.isEmpty()) {
        performCurrentAction(m_actions.takeFirst());
        return;
    }
    if (!m_unreadable.isEmpty()) {
        Q_EMIT error(QStringLiteral("These tuning files could not be read and were not sent: %1")
                         .arg(m_unreadable.join(QStringLiteral(", "))));
    }
    if (m_operation == Operation::Reset)
        Q_EMIT tuningsReset();
    else
        Q_EMIT changesApplied();
    endOperation();
}

void TuningFileWorker::startFetching()
{
    m_totalCount = remoteCount() + localCount();
    m_doneCount = 0;
    const QString parsing = QStringLiteral("Parsing tunings...%1%");
    emitProgress(parsing);
    m_pendingFetches.clear();
    for (TuningSide side : tuningside::both) {
        const QString& dir = tuningside::folder(side);
        for (const QString& name : m_remoteFiles[sideIndex(side)]) {
            if (m_catalog.localFileCorrespondsToRemote(dir, name).isEmpty())
                m_pendingFetches.append({dir, name});
            ++m_doneCount;
            emitProgress(parsing);
        }
    }
    fetchNextOrClose();
}

void TuningFileWorker::fetchNextOrClose()
{
    if (!m_pendingFetches.isEmpty()) {
        const QPair<QString, QString> next = m_pendingFetches.takeFirst();
        m_ftp->onGetFile(next.first, next.second);
        return;
    }
    refreshLocalStore();
    m_totalCount = remoteCount() + localCount();
    publishRecords();
}

void TuningFileWorker::onFileData(const QByteArray& data, const QString& dir,
                                  const QString& fileName)
{
    if (m_operation != Operation::Sync)
        return;
    const TuningSide side = tuningside::fromFolder(dir);
    const QString failure = m_store.write(side, fileName, data);
    if (!failure.isEmpty()) {
        qDebug().noquote() << "Failed to create file" << m_store.localFolder(side) + '/' + fileName;
        failOperation(failure, failure);
        return;
    }
    fetchNextOrClose();
}

void TuningFileWorker::updateFromCloud()
{
    if (!startOrWait([this] { updateFromCloud(); }))
        return;
    m_operation = Operation::Cloud;
    m_cloud = CloudRun();
    Q_EMIT progressMessage(QStringLiteral("Checking for updates..."));
    // The manifests are compared with the store as it is now.
    seedLocalStore();
    m_downloads->setBudget(m_cloudBudget);
    m_downloads->requestDownload(cloudmanifest::manifestUrl(TuningSide::Speaker, m_validationMode),
                                 m_store.manifestFolder(TuningSide::Speaker), true);
}

// A file stopped for a cause of its own shows that cause; any other failure is the network's.
void TuningFileWorker::onCurrentDownloadFinished(const QUrl& url, bool success,
                                                 const QString& errorString)
{
    const QString stopCause = std::exchange(m_stopCause, QString());
    if (m_operation != Operation::Cloud || m_cloud.failed)
        return;
    if (success)
        qDebug().noquote() << "Download finised: " + url.toString();
    const QString userText = stopCause.isEmpty() ? kUnreachable : stopCause;
    const QUrl speakerManifest = cloudmanifest::manifestUrl(TuningSide::Speaker, m_validationMode);
    const QUrl amplifierManifest =
        cloudmanifest::manifestUrl(TuningSide::Amplifier, m_validationMode);
    if (url == speakerManifest || url == amplifierManifest) {
        if (!success) {
            qWarning().noquote() << "Cloud manifest not downloaded:" << errorString;
            failCloudUpdate(userText);
        } else if (url == speakerManifest) {
            m_downloads->requestDownload(amplifierManifest,
                                         m_store.manifestFolder(TuningSide::Amplifier), true);
        } else {
            readManifests();
        }
        return;
    }
    if (success) {
        m_cloud.arrived[sideIndex(m_cloud.filesSide)].append(
            url.path(QUrl::FullyDecoded).section(QLatin1Char('/'), -1));
        return;
    }
    qWarning().noquote() << "Cloud tuning file not downloaded:" << errorString;
    if (!m_cloud.fileErrorShown) {
        m_cloud.fileErrorShown = true;
        Q_EMIT error(userText);
    }
}

// The disk cannot take more, or the run has downloaded what one may: nothing is copied.
void TuningFileWorker::onDownloadsStopped(const QString& cause)
{
    if (m_operation != Operation::Cloud || m_cloud.failed)
        return;
    qWarning().noquote() << "Cloud update stopped:" << cause;
    failCloudUpdate(
        QStringLiteral("The update from the cloud was stopped; no tuning was changed.\n%1")
            .arg(cause));
}

void TuningFileWorker::failCloudUpdate(const QString& userText)
{
    m_cloud.failed = true;
    m_store.clearStaging();
    Q_EMIT error(userText);
    finishOperation(false);
}

void TuningFileWorker::readManifests()
{
    m_cloud.manifestsRead = true;
    for (TuningSide side : tuningside::both) {
        QFile manifest(m_store.manifestFolder(side) + QStringLiteral("/Manifest"));
        if (!manifest.open(QIODevice::ReadOnly)) {
            qDebug().noquote() << "Failed to open manifest file:" << manifest.errorString();
            continue;
        }
        const QStringList names = cloudmanifest::names(manifest.readAll());
        qDebug().noquote() << "Cloud files:" << names;
        for (const QString& name : cloudmanifest::newerThanLocal(names, side, m_catalog))
            m_cloud.wanted[sideIndex(side)].append(
                cloudmanifest::fileUrl(side, m_validationMode, name));
    }
}

void TuningFileWorker::onAllDonwloadsFinished()
{
    if (m_operation != Operation::Cloud || m_cloud.failed || !m_cloud.manifestsRead)
        return;
    for (TuningSide side : tuningside::both) {
        if (!m_cloud.wanted[sideIndex(side)].isEmpty()) {
            requestWantedFiles(side);
            return;
        }
    }
    copyArrivedFiles();
}

void TuningFileWorker::requestWantedFiles(TuningSide side)
{
    Q_EMIT progressMessage(QStringLiteral("Downloading updates..."));
    m_cloud.filesSide = side;
    m_downloads->requestDownloadMultiple(m_cloud.wanted[sideIndex(side)],
                                         m_store.stagingFolder(side), true);
    m_cloud.wanted[sideIndex(side)].clear();
}

// Only what arrived in this run, and never over a local file of the same or a later stamp; the
// staged files go once the run is over.
void TuningFileWorker::copyArrivedFiles()
{
    int copied = 0;
    QStringList failures;
    for (TuningSide side : tuningside::both) {
        const QString& dir = tuningside::folder(side);
        for (const QString& name : qAsConst(m_cloud.arrived[sideIndex(side)])) {
            const QString local = m_catalog.localFileCorrespondsToRemote(dir, name);
            if (!local.isEmpty() && !tuningname::isEarlier(local, name))
                continue;
            const QString failure = m_store.updateCloudFileToLocal(side, name, local);
            if (failure.isEmpty())
                ++copied;
            else
                failures.append(failure);
        }
        refreshLocalStore();
    }
    m_store.clearStaging();
    if (!failures.isEmpty())
        Q_EMIT error(failures.join(QLatin1Char('\n')));
    if (copied == 0) {
        finishOperation(true);
        return;
    }
    Q_EMIT updatedFromCloud();
    endOperation();
}

void TuningFileWorker::seedLocalStore()
{
    m_store.serializeFactoryTunings();
    refreshLocalStore();
}

// The lists and the name index of the local store always change together.
void TuningFileWorker::refreshLocalStore()
{
    m_store.rescan();
    for (TuningSide side : tuningside::both)
        m_catalog.setLocalFiles(side, m_store.files(side));
}

// The records of the local store, grouped, to the list model; one progress step per file.
void TuningFileWorker::updateFileInfoList()
{
    const QString parsing = QStringLiteral("Parsing tunings...%1%");
    Q_EMIT mapBrandSeriesToFileInfoList(m_catalog.groupRecords(m_store.files(TuningSide::Speaker),
                                                               m_store.files(TuningSide::Amplifier),
                                                               m_brands, [this, &parsing] {
                                                                   ++m_doneCount;
                                                                   emitProgress(parsing);
                                                               }));
}

void TuningFileWorker::publishRecords()
{
    updateFileInfoList();
    TuningCatalog::orderBrands(m_brands);
    Q_EMIT brandList(m_brands);
    finishOperation(true);
}

// One message per change of the percentage: the text is the same in between.
void TuningFileWorker::emitProgress(const QString& format)
{
    const int percent = m_totalCount > 0 ? m_doneCount * 100 / m_totalCount : 0;
    const QString text = format.arg(percent);
    if (text == m_lastProgress)
        return;
    m_lastProgress = text;
    Q_EMIT progressMessage(text);
}

int TuningFileWorker::remoteCount() const
{
    return m_remoteFiles[0].size() + m_remoteFiles[1].size();
}

int TuningFileWorker::localCount() const
{
    return m_store.files(TuningSide::Speaker).size() + m_store.files(TuningSide::Amplifier).size();
}
