#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QQmlParserStatus>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>

class QNetworkAccessManager;

// The usage-analytics client: builds Measurement Protocol (version 1) hits - screen views,
// events, exceptions and the derived session, keep-alive, platform, device and mixer events -
// and hands each to its queue, which posts them one at a time to the collection URL while
// sending is allowed (AppAnalytics::Private): by isAnalyticsAllowed and by the user's "Share
// App Analytics" opt-in ("Data/appAnalytics" of the application's store). Building and queueing
// never look at either; sending does. One process-wide object on the GUI thread.
class AppAnalytics : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(
        QString viewportSize READ viewportSize WRITE setViewportSize NOTIFY viewportSizeChanged)
    Q_PROPERTY(QString language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(QString trackingID READ trackingID WRITE setTrackingID NOTIFY trackingIDChanged)
    Q_PROPERTY(int sendInterval READ sendInterval WRITE setSendInterval NOTIFY sendIntervalChanged)
    Q_PROPERTY(bool isSending READ isSending NOTIFY isSendingChanged)
    Q_PROPERTY(bool isAnalyticsAllowed READ isAnalyticsAllowed WRITE setIsAnalyticsAllowed NOTIFY
                   isAnalyticsAllowedChanged)

public:
    class Private;

    // The application's client, created with `parent` on the first call; later calls ignore
    // the argument.
    static AppAnalytics* getInstance(QObject* parent = nullptr);
    // A client of its own (the application uses getInstance()). Hits go to the analytics URL
    // of CloudEndpoints; the queue file lies under g_genericDataLocation.
    explicit AppAnalytics(QObject* parent = nullptr);
    ~AppAnalytics() override;

    QString viewportSize() const;
    void setViewportSize(const QString& size);
    QString language() const;
    void setLanguage(const QString& language);
    QString trackingID() const;
    void setTrackingID(const QString& id);
    int sendInterval() const;
    void setSendInterval(int milliseconds);
    bool isSending() const;
    bool isAnalyticsAllowed() const { return m_isAnalyticsAllowed; }

    // The manager of the POSTs; the client makes its own at the first POST when none is set.
    // A manager that the client owns (a child of this object) is deleted when replaced.
    QNetworkAccessManager* networkAccessManager() const;
    void setNetworkAccessManager(QNetworkAccessManager* manager);
    // Sends the oldest queued hit now, unless a POST is running.
    void startSending();

    // The platform event's text: the system's product type and version.
    static QString getOSVersion();

    void classBegin() override;
    void componentComplete() override {}

Q_SIGNALS:
    void logLevelChanged();
    void viewportSizeChanged();
    void languageChanged();
    void trackingIDChanged();
    void sendIntervalChanged();
    void isSendingChanged(bool isSending);
    void isAnalyticsAllowedChanged(bool isAnalyticsAllowed);

public Q_SLOTS:
    void sendScreenView(const QString& screenName, const QVariantMap& customValues = {});
    void sendEvent(const QString& category, const QString& action, const QString& label = {},
                   const QVariant& value = {}, const QVariantMap& customValues = {});
    void sendException(const QString& exceptionDescription, bool exceptionFatal = true,
                       const QVariantMap& customValues = {});
    void startSession();
    void endSession();
    // Each device name once per run, for the known device families only.
    void sendUniqueDeviceEvents(const QList<QString>& deviceList);
    // While nothing waits in the queue and sending is allowed.
    void sendKeepAliveEvent();
    // Once per installation.
    void sendPlatformData();
    // Stored and announced even when unchanged.
    void setIsAnalyticsAllowed(bool isAnalyticsAllowed);
    // Each mixer key once per run, in key order.
    void sendUniqueMixerEvents(const QMap<QString, QString>& mixerList);

private:
    std::unique_ptr<Private> d;
    QSet<QString> m_uniqueDevices;
    QSet<QString> m_uniqueMixers;
    bool m_isAnalyticsAllowed = true;

    static AppAnalytics* m_instance;
};
