#pragma once

#include <QUrl>

// The outside addresses the application may talk to: the cloud storage base address (update
// feed, images, tuning containers) and the analytics collection URL. Read once, at first use,
// from QX8_CLOUD_BASE_URL and QX8_ANALYTICS_URL, with built-in defaults.
class CloudEndpoints
{
public:
    static const CloudEndpoints& instance();

    QUrl cloudBaseUrl() const { return m_cloudBaseUrl; }
    QUrl analyticsUrl() const { return m_analyticsUrl; }
    // The update feed of the production or, in validation mode, the test container.
    QUrl updateFeedUrl(bool validationMode) const;

private:
    CloudEndpoints();

    QUrl m_cloudBaseUrl;
    QUrl m_analyticsUrl;
};
