#include "appanalytics.h"

#include "cloudendpoints.h"

#include <QLoggingCategory>

AppAnalytics* AppAnalytics::getInstance(QObject* parent)
{
    static AppAnalytics* analytics = new AppAnalytics(parent);
    return analytics;
}

AppAnalytics::AppAnalytics(QObject* parent)
    : QObject(parent), m_collectionUrl(CloudEndpoints::instance().analyticsUrl())
{
}

void AppAnalytics::setTrackingID(const QString& id)
{
    if (id == m_trackingID)
        return;
    m_trackingID = id;
    Q_EMIT trackingIDChanged();
}

void AppAnalytics::setSendInterval(int milliseconds)
{
    if (milliseconds == m_sendInterval)
        return;
    m_sendInterval = milliseconds;
    Q_EMIT sendIntervalChanged();
}

void AppAnalytics::sendPlatformData() {}

void AppAnalytics::sendScreenView(const QString& screenName, const QVariantMap& customValues)
{
    Q_UNUSED(customValues)
    qDebug().noquote() << QStringLiteral("ScreenView: %1").arg(screenName);
}
