#include "appanalytics_p.h"

#include "cloudendpoints.h"
#include "datafolders.h"
#include "httptransfer.h"
#include "qx8settings.h"
#include "qx8settingsstore.h"
#include "settingskeys.h"
#include "settingssavecheck.h"

#include <QDebug>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QScreen>
#include <QSysInfo>
#include <QUuid>

#include <algorithm>
#include <optional>
#include <utility>

namespace {
constexpr int kDefaultSendIntervalMs = 20000;
// The reader's longest read, of a queue file of 4 MiB, takes a fraction of this.
constexpr std::chrono::milliseconds kReaderShutdownWait{5000};

// The system as the user agent and as the platform event name it.
struct SystemTexts
{
    QString userAgent;
    QString platform;
};

SystemTexts systemTexts()
{
    const QString type = QSysInfo::productType();
    const QString version = QSysInfo::productVersion();
    const auto is = [&type](const char* name) {
        return type.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("ios"))
        return {QStringLiteral("iPad; iOS 10.0"), QStringLiteral("iOS; ") + version};
    if (is("windows"))
        return {QStringLiteral("Windows; 7.0"), QStringLiteral("Windows; ") + version};
    if (is("osx") || is("macos"))
        return {QStringLiteral("Macintosh; Mac OS 10.12"), QStringLiteral("OSX; ") + version};
    const QString text = type + QStringLiteral("; ") + version;
    return {text, text};
}
} // namespace

const QString AppAnalytics::Private::m_sDateTimeFormat = QStringLiteral("yyyy,MM,dd-hh:mm::ss:zzz");

AppAnalytics::Private::Private(AppAnalytics* owner)
    : QObject(owner)
    , q(owner)
    , request(CloudEndpoints::instance().analyticsUrl())
    , userID(getUserID())
    , appName(QStringLiteral("Spandrell QX8"))
    , appVersion(QStringLiteral("1.1.2"))
    , language(QLocale::system().name().toLower().replace(QLatin1Char('_'), QLatin1Char('-')))
    , screenResolution(getScreenResolution())
    , m_queueFile(g_genericDataLocation + QStringLiteral("/appanalytics/analyticsData.json"))
    , m_reader(QStringLiteral("Analytics queue reader"), kReaderShutdownWait)
{
    qRegisterMetaType<QList<QueryBuffer>>();
    AnalyticsQueueReader* reader =
        m_reader.start([path = m_queueFile.path()] { return new AnalyticsQueueReader(path); });
    connect(reader, &AnalyticsQueueReader::hitsRead, this, &Private::onHitsRead);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setHeader(QNetworkRequest::UserAgentHeader, getUserAgent());

    connect(this, &Private::postNextMessage, this, &Private::postMessage);
    connect(&sendTimer, &QTimer::timeout, this, &Private::postMessage);
    sendTimer.start(kDefaultSendIntervalMs);
    messageQueue.reserve(kQueueLimit);
    QDir().mkpath(g_genericDataLocation + QStringLiteral("/appanalytics"));
    if (qGuiApp) {
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                &Private::onApplicationStateChanged);
    }
    if (QCoreApplication::instance()) {
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &Private::shutDown);
    }
}

AppAnalytics::Private::~Private()
{
    shutDown();
}

FormQuery AppAnalytics::Private::buildStandardPostQuery(const QString& type)
{
    // Made with the first hit, so that a client that sends nothing writes nothing to disk.
    if (clientID.isEmpty())
        clientID = getClientID();
    FormQuery query;
    query.addItem(QStringLiteral("v"), QStringLiteral("1"));
    query.addItem(QStringLiteral("tid"), trackingID);
    query.addItem(QStringLiteral("cid"), clientID);
    if (!userID.isEmpty())
        query.addItem(QStringLiteral("uid"), userID);
    query.addItem(QStringLiteral("t"), type);
    query.addItem(QStringLiteral("ul"), language);
    query.addItem(QStringLiteral("vp"), viewportSize);
    query.addItem(QStringLiteral("sr"), screenResolution);
    return query;
}

void AppAnalytics::Private::addApplicationItems(FormQuery& query) const
{
    query.addItem(QStringLiteral("an"), appName);
    query.addItem(QStringLiteral("av"), appVersion);
}

void AppAnalytics::Private::enqueQueryWithCurrentTime(const FormQuery& query)
{
    if (messageQueue.size() >= kQueueLimit)
        messageQueue.removeFirst();
    messageQueue.append({query, QDateTime::currentDateTime(), ++m_lastId});
}

bool AppAnalytics::Private::isSendingAllowed() const
{
    return q->isAnalyticsAllowed() &&
           QX8Settings().value(settingskeys::kAppAnalytics).toString() == QLatin1String("true");
}

// The running POST is given up; its hit stays queued and goes with the new manager.
void AppAnalytics::Private::setNetworkAccessManager(QNetworkAccessManager* manager)
{
    if (manager == networkAccessManager)
        return;
    if (m_transfer) {
        m_transfer->abort();
        delete m_transfer;
        m_transfer = nullptr;
    }
    if (networkAccessManager && networkAccessManager->parent() == q)
        networkAccessManager->deleteLater();
    networkAccessManager = manager;
}

void AppAnalytics::Private::logMessage(const QString& message) const
{
    qDebug().noquote() << "[Analytics]" << message;
}

QString AppAnalytics::Private::getClientID()
{
    settingsstore::OpenedStore settings(settingskeys::kDefaultStore);
    const QString stored = settings.value(settingskeys::kAnalyticsClientId).toString();
    if (!stored.isEmpty())
        return stored;
    const QString created = QUuid::createUuid().toString(QUuid::WithBraces);
    settings.setValue(settingskeys::kAnalyticsClientId, created);
    return created;
}

QString AppAnalytics::Private::getUserID()
{
    return settingsstore::OpenedStore(settingskeys::kDefaultStore)
        .value(settingskeys::kAnalyticsUserId, QString())
        .toString();
}

void AppAnalytics::Private::setUserID(const QString& id)
{
    userID = id;
    settingsstore::OpenedStore settings(settingskeys::kDefaultStore);
    settings.setValue(settingskeys::kAnalyticsUserId, id);
    SettingsSaveCheck::instance().save(settings);
}

// Empty while no screen is known (no GUI, or a platform without outputs).
QString AppAnalytics::Private::getScreenResolution()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QString();
    const QSizeF pixels = QSizeF(screen->size()) * screen->devicePixelRatio();
    return QStringLiteral("%1x%2").arg(qRound(pixels.width())).arg(qRound(pixels.height()));
}

QString AppAnalytics::Private::getSystemInfo()
{
    return systemTexts().userAgent;
}

QString AppAnalytics::getOSVersion()
{
    return systemTexts().platform;
}

QString AppAnalytics::Private::getUserAgent() const
{
    return QStringLiteral("%1/%2 (%3; %4) AppAnalytics/1.0 (Qt/%5)")
        .arg(appName, appVersion, getSystemInfo(), QLocale::system().name(),
             QStringLiteral("5.15.2"));
}

void AppAnalytics::Private::postMessage()
{
    if (m_transfer && m_transfer->isRunning())
        return;
    if (!isSendingAllowed()) {
        // An opt-out between two chained POSTs: back to waiting for the timer.
        if (!sendTimer.isActive())
            setIsSending(false);
        return;
    }
    if (messageQueue.isEmpty()) {
        setIsSending(false);
        return;
    }
    setIsSending(true);

    const QueryBuffer& head = messageQueue.constFirst();
    FormQuery query = head.postQuery;
    const qint64 waited = head.time.msecsTo(QDateTime::currentDateTime());
    query.addItem(QStringLiteral("qt"), QString::number(qMax<qint64>(0, waited)));
    const QByteArray body = query.text();
    QNetworkRequest post = request;
    post.setRawHeader("Connection", messageQueue.size() >= 2 ? "keep-alive" : "close");
    post.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    m_sendingId = head.id;
    transfer().postForm(post, body);
}

// Made at the first POST, with a manager of its own unless one was set; a transfer whose
// manager is gone goes with it.
HttpTransfer& AppAnalytics::Private::transfer()
{
    if (!networkAccessManager) {
        delete m_transfer;
        m_transfer = nullptr;
        networkAccessManager = new QNetworkAccessManager(this);
    }
    if (!m_transfer) {
        m_transfer = new HttpTransfer(networkAccessManager, this);
        connect(m_transfer, &HttpTransfer::finished, this, &Private::postMessageFinished);
    }
    return *m_transfer;
}

// A refused hit waits for the next timeout; failures are logged once until a hit gets through.
void AppAnalytics::Private::postMessageFinished()
{
    if (m_transfer->error() == QNetworkReply::NoError) {
        logMessage(QStringLiteral("Message sent"));
        m_failing = false;
        removeAcknowledged(m_sendingId);
        Q_EMIT postNextMessage();
        return;
    }
    if (!m_failing) {
        logMessage(QStringLiteral("Message not sent, kept for the next attempt: %1")
                       .arg(m_transfer->errorString()));
    }
    m_failing = true;
    setIsSending(false);
}

void AppAnalytics::Private::setIsSending(bool sending)
{
    if (sending)
        sendTimer.stop();
    else
        sendTimer.start();
    if (sending == isSending)
        return;
    isSending = sending;
    Q_EMIT q->isSendingChanged(sending);
}

QList<QString> AppAnalytics::Private::persistMessageQueue() const
{
    QList<QString> list;
    for (const QueryBuffer& hit : messageQueue)
        list << QString::fromUtf8(hit.postQuery.text()) << hit.time.toString(m_sDateTimeFormat);
    return list;
}

void AppAnalytics::Private::readMessagesFromFile(const QList<QString>& list)
{
    for (int i = 0; i + 1 < list.size(); i += 2) {
        const QString& query = list.at(i);
        const QString& time = list.at(i + 1);
        if (query.isEmpty() || time.isEmpty())
            return;
        messageQueue.append({FormQuery::fromText(query.toUtf8()),
                             QDateTime::fromString(time, m_sDateTimeFormat), ++m_lastId});
    }
}

// The hit may have left the queue while its POST ran: dropped by the limit, or moved to the
// queue file by a deactivation. In the file it is dropped too, so it is not sent twice.
void AppAnalytics::Private::removeAcknowledged(quint64 id)
{
    const auto hasId = [id](const QueryBuffer& hit) { return hit.id == id; };
    if (std::none_of(messageQueue.cbegin(), messageQueue.cend(), hasId) &&
        std::none_of(m_fileMirror.cbegin(), m_fileMirror.cend(), hasId))
        finishRestores(); // it may be a hit of the file being read
    const auto queued = std::find_if(messageQueue.begin(), messageQueue.end(), hasId);
    if (queued != messageQueue.end()) {
        messageQueue.erase(queued);
        return;
    }
    const auto filed = std::find_if(m_fileMirror.begin(), m_fileMirror.end(), hasId);
    if (filed != m_fileMirror.end()) {
        m_fileMirror.erase(filed);
        m_queueFile.write(m_fileMirror);
    }
}

void AppAnalytics::Private::onApplicationStateChanged(Qt::ApplicationState appState)
{
    if (appState == Qt::ApplicationActive)
        enqueueAnalyticsDataFromJsonArray();
    else
        writeAnalyticsDataToFile();
}

// The file keeps every hit written since it was last read. Hits that cannot be written stay
// queued and are sent as usual.
void AppAnalytics::Private::writeAnalyticsDataToFile()
{
    finishRestores();
    if (messageQueue.isEmpty())
        return;
    QList<QueryBuffer> written = m_fileMirror + messageQueue;
    if (written.size() > AnalyticsQueueFile::kMaximumHits)
        written.erase(written.begin(), written.end() - AnalyticsQueueFile::kMaximumHits);
    if (!m_queueFile.write(written))
        return;
    m_fileMirror = written;
    messageQueue.clear();
}

// The queue file, taken here and read on the reader's thread.
void AppAnalytics::Private::enqueueAnalyticsDataFromJsonArray()
{
    const std::optional<QByteArray> content = m_queueFile.takeContent();
    QList<QueryBuffer> written = std::exchange(m_fileMirror, {});
    if (!content)
        return;
    const quint64 serial = ++m_lastRestore;
    m_restores.append({serial, *content, std::move(written)});
    m_reader.post([serial, content = *content](AnalyticsQueueReader& reader) {
        reader.read(serial, content);
    });
}

// A content already read here, for what could not wait for it, is not restored twice.
void AppAnalytics::Private::onHitsRead(quint64 serial, const QList<QueryBuffer>& hits)
{
    if (m_restores.isEmpty() || m_restores.constFirst().serial != serial)
        return;
    restore(hits, m_restores.takeFirst().written);
}

// What the reader has sent already is taken as it is; only the rest is read again here.
void AppAnalytics::Private::finishRestores()
{
    if (m_restores.isEmpty())
        return;
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    while (!m_restores.isEmpty()) {
        const Restore pending = m_restores.takeFirst();
        restore(AnalyticsQueueFile::hitsOf(pending.content, m_queueFile.path()), pending.written);
    }
}

// Restored hits follow those queued since the deactivation, without the queue's limit. Hits
// that this process wrote keep their ids, so an answer still on its way finds its hit.
void AppAnalytics::Private::restore(QList<QueryBuffer> hits, const QList<QueryBuffer>& written)
{
    const bool writtenHere =
        std::equal(hits.cbegin(), hits.cend(), written.cbegin(), written.cend(),
                   [](const QueryBuffer& read, const QueryBuffer& wrote) {
                       return read.postQuery == wrote.postQuery;
                   });
    for (int i = 0; i < hits.size(); ++i)
        hits[i].id = writtenHere ? written.at(i).id : ++m_lastId;
    messageQueue.append(hits);
}

// At the end of the event loop, and again on destruction: the running POST is given up (its
// hit stays queued), the queue goes to the file, and the own manager goes while the
// application still exists.
void AppAnalytics::Private::shutDown()
{
    if (m_transfer) {
        m_transfer->disconnect(this);
        delete m_transfer;
        m_transfer = nullptr;
    }
    if (networkAccessManager && networkAccessManager->parent() == this)
        delete networkAccessManager;
    sendTimer.stop();
    writeAnalyticsDataToFile();
    m_reader.stop();
}
