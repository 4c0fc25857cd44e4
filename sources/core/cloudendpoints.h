#pragma once

#include <QStringList>
#include <QUrl>

// The outside addresses the application may talk to: the cloud storage base address (update
// feed, images, tuning containers), the hosts that may serve update feeds and images, and the
// analytics collection URL. Read once, at first use, from QX8_CLOUD_BASE_URL, QX8_IMAGE_HOSTS
// ("host" for the standard ports of http and https, or "host:port"; separated by commas) and
// QX8_ANALYTICS_URL, with built-in defaults.
class CloudEndpoints
{
public:
    static const CloudEndpoints& instance();

    QUrl cloudBaseUrl() const { return m_cloudBaseUrl; }
    QUrl analyticsUrl() const { return m_analyticsUrl; }
    // The hosts an update feed or image may come from besides the feed's own: the cloud's, then
    // the listed ones, in lower case, each with its port when the address names one.
    QStringList imageHosts() const { return m_imageHosts; }
    // "host" or "host:port" (with the port the address names), as imageHosts() lists them.
    static QString hostAndPort(const QUrl& url);
    // The update feed of the production or, in validation mode, the test container.
    QUrl updateFeedUrl(bool validationMode) const;
    // The page that offers the firmware updater for Windows.
    QUrl firmwareToolPageUrl() const;

private:
    CloudEndpoints();
    // The cloud's base address with `path` appended to its own.
    QUrl cloudUrl(const QString& path) const;

    QUrl m_cloudBaseUrl;
    QUrl m_analyticsUrl;
    QStringList m_imageHosts;
};
