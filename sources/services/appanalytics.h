#pragma once

#include <QObject>
#include <QUrl>
#include <QVariantMap>

// Skeleton of the analytics client until it is built: it takes its settings and logs screen
// views, but queues and sends nothing.
class AppAnalytics : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString trackingID READ trackingID WRITE setTrackingID NOTIFY trackingIDChanged)
    Q_PROPERTY(int sendInterval READ sendInterval WRITE setSendInterval NOTIFY sendIntervalChanged)

public:
    // Creates the client with `parent` on the first call; later calls ignore the argument.
    static AppAnalytics* getInstance(QObject* parent = nullptr);

    QString trackingID() const { return m_trackingID; }
    void setTrackingID(const QString& id);
    int sendInterval() const { return m_sendInterval; }
    void setSendInterval(int milliseconds);
    QUrl collectionUrl() const { return m_collectionUrl; }

    void sendPlatformData();
    void sendScreenView(const QString& screenName, const QVariantMap& customValues);

Q_SIGNALS:
    void trackingIDChanged();
    void sendIntervalChanged();

private:
    explicit AppAnalytics(QObject* parent);

    QString m_trackingID;
    int m_sendInterval = 0;
    QUrl m_collectionUrl;
};
