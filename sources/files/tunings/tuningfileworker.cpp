#include "tuningfileworker.h"

#include "downloadmanager.h"
#include "ftpclientthread.h"
#include "tuningname.h"

#include <QDebug>
#include <QTimer>

namespace {
constexpr int kPublishDelayMs = 500;

int sideIndex(TuningSide side)
{
    return side == TuningSide::Speaker ? 0 : 1;
}
} // namespace

const QString TuningFileWorker::deviceUser = QStringLiteral("qx8ftp");
const QString TuningFileWorker::devicePassword = QStringLiteral("qebtorin@847");

TuningFileWorker::TuningFileWorker(const QString& dataFolder,
                                   const std::atomic<bool>& validationMode)
    : m_store(dataFolder), m_validationMode(validationMode)
{
}

TuningFileWorker::~TuningFileWorker() = default;

void TuningFileWorker::start()
{
    m_downloads = new DownloadManager(this);
    m_ftp =
        new FtpClientThread(FtpClientThread::kDevicePort, FtpClientThread::kRequestTimeout, this);
    connect(m_ftp, &FtpClientThread::connected, this, &TuningFileWorker::onConnected);
    connect(m_ftp, &FtpClientThread::disconnected, this, &TuningFileWorker::onDisconnected);
    connect(m_ftp, &FtpClientThread::error, this, &TuningFileWorker::onError);
    connect(m_ftp, &FtpClientThread::fileList, this, &TuningFileWorker::onFileList);
    connect(m_ftp, &FtpClientThread::fileData, this, &TuningFileWorker::onFileData);
}

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
    qWarning().noquote() << "Tuning operation failed:" << logText;
    m_pendingFetches.clear();
    m_receivedFlags = 0;
    m_ftp->onDisconnectFromHost();
    if (!userText.isEmpty())
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
    m_catalog.clearRemote();
    m_remoteFiles = {};
    m_pendingFetches.clear();
    m_receivedFlags = 0;
    Q_EMIT progressMessage(QStringLiteral("Connecting to remote server..."));
    m_ftp->onConnectToHost(ip, deviceUser, devicePassword);
}

void TuningFileWorker::onConnected()
{
    m_loggedIn = true;
    Q_EMIT connected();
    if (m_operation != Operation::Sync)
        return;
    m_receivedFlags = 0;
    Q_EMIT progressMessage(QStringLiteral("Receiving tunings..."));
    m_ftp->onRequestFileList(tuningside::speakerFolder);
}

void TuningFileWorker::onDisconnected()
{
    m_loggedIn = false;
    Q_EMIT disconnected();
    m_brands = QStringList{TuningCatalog::showAll};
    m_remoteFiles = {};
    m_catalog.clearRemote();
}

void TuningFileWorker::onError(const QString& errorString)
{
    if (m_operation == Operation::Idle) {
        qDebug().noquote() << "FTP error outside an operation:" << errorString;
        return;
    }
    failOperation(errorString);
}

void TuningFileWorker::onFileList(const QString& dir, const QStringList& list)
{
    if (m_operation != Operation::Sync)
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
    startFetching();
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
    const QString failure = m_store.write(tuningside::fromFolder(dir), fileName, data);
    if (!failure.isEmpty()) {
        failOperation(failure, failure);
        return;
    }
    fetchNextOrClose();
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

void TuningFileWorker::publishRecords()
{
    const QString parsing = QStringLiteral("Parsing tunings...%1%");
    Q_EMIT mapBrandSeriesToFileInfoList(m_catalog.groupRecords(m_store.files(TuningSide::Speaker),
                                                               m_store.files(TuningSide::Amplifier),
                                                               m_brands, [this, &parsing] {
                                                                   ++m_doneCount;
                                                                   emitProgress(parsing);
                                                               }));
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
