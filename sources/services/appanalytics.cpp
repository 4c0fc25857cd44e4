#include "appanalytics.h"

#include "appanalytics_p.h"
#include "qx8settingsstore.h"
#include "settingskeys.h"
#include "settingssavecheck.h"

#include <QDebug>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTimer>

namespace {
constexpr int kKeepAliveIntervalMs = 600000;

// Device families reported by sendUniqueDeviceEvents, tested in this order.
struct DeviceFamily
{
    const char* prefix;
    const char* action;
};
constexpr DeviceFamily kDeviceFamilies[] = {
    {"Zq3", "Mic_Zq3"}, {"Zq2", "Mic_Zq2"}, {"TRVa", "TRVa"}, {"YOXL_DI", "yoxl_di"}};

// After the hit's own items, in ascending key order.
void appendCustomValues(FormQuery& query, const QVariantMap& customValues)
{
    for (auto value = customValues.cbegin(); value != customValues.cend(); ++value)
        query.addItem(value.key(), value.value().toString());
}
} // namespace

AppAnalytics* AppAnalytics::m_instance = nullptr;

AppAnalytics* AppAnalytics::getInstance(QObject* parent)
{
    if (!m_instance)
        m_instance = new AppAnalytics(parent);
    return m_instance;
}

AppAnalytics::AppAnalytics(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>(this))
    , m_isAnalyticsAllowed(settingsstore::OpenedStore(settingskeys::kDefaultStore)
                               .value(settingskeys::kAnalyticsEnabled, true)
                               .toBool())
{
    auto* keepAlive = new QTimer(this);
    connect(keepAlive, &QTimer::timeout, this, &AppAnalytics::sendKeepAliveEvent);
    keepAlive->start(kKeepAliveIntervalMs);
}

AppAnalytics::~AppAnalytics()
{
    if (m_instance == this)
        m_instance = nullptr;
}

QString AppAnalytics::viewportSize() const
{
    return d->viewportSize;
}

void AppAnalytics::setViewportSize(const QString& size)
{
    if (size == d->viewportSize)
        return;
    d->viewportSize = size;
    Q_EMIT viewportSizeChanged();
}

QString AppAnalytics::language() const
{
    return d->language;
}

void AppAnalytics::setLanguage(const QString& language)
{
    if (language == d->language)
        return;
    d->language = language;
    Q_EMIT languageChanged();
}

QString AppAnalytics::trackingID() const
{
    return d->trackingID;
}

void AppAnalytics::setTrackingID(const QString& id)
{
    if (id == d->trackingID)
        return;
    d->trackingID = id;
    Q_EMIT trackingIDChanged();
}

int AppAnalytics::sendInterval() const
{
    return d->sendTimer.interval();
}

// A running timer starts again with the new interval.
void AppAnalytics::setSendInterval(int milliseconds)
{
    if (milliseconds == d->sendTimer.interval())
        return;
    d->sendTimer.setInterval(milliseconds);
    Q_EMIT sendIntervalChanged();
}

bool AppAnalytics::isSending() const
{
    return d->isSending;
}

QNetworkAccessManager* AppAnalytics::networkAccessManager() const
{
    return d->networkAccessManager;
}

void AppAnalytics::setNetworkAccessManager(QNetworkAccessManager* manager)
{
    d->setNetworkAccessManager(manager);
}

void AppAnalytics::startSending()
{
    if (!d->isSending)
        Q_EMIT d->postNextMessage();
}

void AppAnalytics::classBegin()
{
    if (const QQmlContext* context = qmlContext(this))
        setNetworkAccessManager(context->engine()->networkAccessManager());
}

void AppAnalytics::sendScreenView(const QString& screenName, const QVariantMap& customValues)
{
    qDebug() << Q_FUNC_INFO << screenName;
    d->logMessage(QStringLiteral("ScreenView: %1").arg(screenName));
    FormQuery query = d->buildStandardPostQuery(QStringLiteral("screenview"));
    query.addItem(QStringLiteral("cd"), screenName);
    d->addApplicationItems(query);
    appendCustomValues(query, customValues);
    d->enqueQueryWithCurrentTime(query);
}

void AppAnalytics::sendEvent(const QString& category, const QString& action, const QString& label,
                             const QVariant& value, const QVariantMap& customValues)
{
    qDebug() << Q_FUNC_INFO << category << action;
    FormQuery query = d->buildStandardPostQuery(QStringLiteral("event"));
    d->addApplicationItems(query);
    query.addItem(QStringLiteral("ec"), category);
    query.addItem(QStringLiteral("ea"), action);
    if (!label.isEmpty())
        query.addItem(QStringLiteral("el"), label);
    if (value.isValid())
        query.addItem(QStringLiteral("ev"), value.toString());
    appendCustomValues(query, customValues);
    d->enqueQueryWithCurrentTime(query);
}

void AppAnalytics::sendException(const QString& exceptionDescription, bool exceptionFatal,
                                 const QVariantMap& customValues)
{
    FormQuery query = d->buildStandardPostQuery(QStringLiteral("exception"));
    d->addApplicationItems(query);
    query.addItem(QStringLiteral("exd"), exceptionDescription);
    query.addItem(QStringLiteral("exf"),
                  exceptionFatal ? QStringLiteral("1") : QStringLiteral("0"));
    appendCustomValues(query, customValues);
    d->enqueQueryWithCurrentTime(query);
}

void AppAnalytics::startSession()
{
    sendEvent(QStringLiteral("Session"), QStringLiteral("Start"), {}, {},
              {{QStringLiteral("sc"), QStringLiteral("start")}});
}

void AppAnalytics::endSession()
{
    sendEvent(QStringLiteral("Session"), QStringLiteral("End"), {}, {},
              {{QStringLiteral("sc"), QStringLiteral("end")}});
}

// A name without a known family is remembered all the same and not tested again.
void AppAnalytics::sendUniqueDeviceEvents(const QList<QString>& deviceList)
{
    for (const QString& device : deviceList) {
        if (m_uniqueDevices.contains(device))
            continue;
        m_uniqueDevices.insert(device);
        for (const DeviceFamily& family : kDeviceFamilies) {
            if (device.startsWith(QLatin1String(family.prefix), Qt::CaseInsensitive)) {
                sendEvent(QStringLiteral("ioSYSDevice"), QLatin1String(family.action));
                break;
            }
        }
    }
}

void AppAnalytics::sendKeepAliveEvent()
{
    if (d->isQueueEmpty() && d->isSendingAllowed())
        sendEvent(QStringLiteral("KeepAlive"), QStringLiteral("KeepAliveEvent"));
}

// Marked as sent before it is queued, whether or not sending is allowed.
void AppAnalytics::sendPlatformData()
{
    settingsstore::OpenedStore settings(settingskeys::kDefaultStore);
    if (settings.contains(settingskeys::kAnalyticsPlatformSent))
        return;
    settings.setValue(settingskeys::kAnalyticsPlatformSent, true);
    sendEvent(QStringLiteral("Platform"), getOSVersion());
}

void AppAnalytics::setIsAnalyticsAllowed(bool isAnalyticsAllowed)
{
    m_isAnalyticsAllowed = isAnalyticsAllowed;
    settingsstore::OpenedStore settings(settingskeys::kDefaultStore);
    settings.setValue(settingskeys::kAnalyticsEnabled, isAnalyticsAllowed);
    SettingsSaveCheck::instance().save(settings);
    Q_EMIT isAnalyticsAllowedChanged(isAnalyticsAllowed);
}

void AppAnalytics::sendUniqueMixerEvents(const QMap<QString, QString>& mixerList)
{
    for (auto mixer = mixerList.cbegin(); mixer != mixerList.cend(); ++mixer) {
        if (m_uniqueMixers.contains(mixer.key()))
            continue;
        m_uniqueMixers.insert(mixer.key());
        sendEvent(QStringLiteral("MixerUiType"), mixer.value(), mixer.key());
    }
}
