#include "cloudendpoints.h"

namespace {
const char* const kDefaultCloudBase = "http://qx8cloud.velmor.example";
const char* const kDefaultAnalytics = "http://www.google-analytics.com/collect";

QUrl fromEnvironment(const char* name, const char* fallback)
{
    const QString text = qEnvironmentVariable(name);
    return QUrl(text.isEmpty() ? QString::fromLatin1(fallback) : text);
}

QStringList imageHostsOf(const QUrl& cloudBaseUrl)
{
    QStringList hosts{CloudEndpoints::hostAndPort(cloudBaseUrl)};
    const QStringList listed = qEnvironmentVariable("QX8_IMAGE_HOSTS").split(QLatin1Char(','));
    for (const QString& host : listed) {
        const QString name = host.trimmed().toLower();
        if (!name.isEmpty() && !hosts.contains(name))
            hosts.append(name);
    }
    return hosts;
}
} // namespace

const CloudEndpoints& CloudEndpoints::instance()
{
    static const CloudEndpoints endpoints;
    return endpoints;
}

CloudEndpoints::CloudEndpoints()
    : m_cloudBaseUrl(fromEnvironment("QX8_CLOUD_BASE_URL", kDefaultCloudBase))
    , m_analyticsUrl(fromEnvironment("QX8_ANALYTICS_URL", kDefaultAnalytics))
    , m_imageHosts(imageHostsOf(m_cloudBaseUrl))
{
}

QString CloudEndpoints::hostAndPort(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveUserInfo).authority().toLower();
}

QUrl CloudEndpoints::updateFeedUrl(bool validationMode) const
{
    return cloudUrl(validationMode ? QStringLiteral("/sp-qx8-update-test/update.xml")
                                   : QStringLiteral("/sp-qx8-update/update.xml"));
}

QUrl CloudEndpoints::firmwareToolPageUrl() const
{
    return cloudUrl(QStringLiteral("/sp-qx8-update/firmware-updater.html"));
}

QUrl CloudEndpoints::cloudUrl(const QString& path) const
{
    QUrl url = m_cloudBaseUrl;
    QString joined = url.path();
    while (joined.endsWith(QLatin1Char('/')))
        joined.chop(1);
    url.setPath(joined + path);
    return url;
}
