#pragma once

#include "analyticsqueuefile.h"
#include "analyticsqueuereader.h"
#include "appanalytics.h"
#include "formquery.h"
#include "workerthread.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QTimer>

class HttpTransfer;

// The identity of the client and its queue: hits wait in a bounded in-memory queue (the head
// is the oldest and the one being sent); the send timer posts the head, one POST at a time,
// and an accepted answer removes that hit and posts the next one at once. While the
// application is not active the queue lies in the queue file; it comes back on activation, read
// into hits on a thread of its own, and joins the queue when they come. Whatever needs the whole
// queue before then (a deactivation, an answer for a hit of the file, the end) reads it here.
//
// Phases: idle (send timer running) -> sending (timer stopped, one POST for the head) ->
// idle again after a refused answer, or the next POST at once after an accepted one.
class AppAnalytics::Private : public QObject
{
    Q_OBJECT

public:
    static constexpr int kQueueLimit = 100;
    // The time of a hit in the flat list of the queue.
    static const QString m_sDateTimeFormat;

    explicit Private(AppAnalytics* owner);
    ~Private() override;

    // The parameters every hit starts with, for hit type `type`.
    FormQuery buildStandardPostQuery(const QString& type);
    // The application's name and version, items "an" and "av".
    void addApplicationItems(FormQuery& query) const;
    // Queues a hit with the current time; a full queue drops its oldest hit first.
    void enqueQueryWithCurrentTime(const FormQuery& query);
    bool isQueueEmpty() const { return messageQueue.isEmpty(); }
    // The client's permission and the user's opt-in ("Share App Analytics") both say yes.
    bool isSendingAllowed() const;
    void setNetworkAccessManager(QNetworkAccessManager* manager);
    void logMessage(const QString& message) const;
    // Sending (the send timer stopped) or waiting for the timer; announced when it changes.
    void setIsSending(bool sending);
    // The queue as a flat list: the form text, then the time, of each hit, oldest first.
    QList<QString> persistMessageQueue() const;
    // Appends the hits of a flat list, up to its first pair with an empty text, past the limit.
    void readMessagesFromFile(const QList<QString>& list);
    // Stores the user id that every later hit carries, in the settings too.
    void setUserID(const QString& id);

    static QString getClientID();
    static QString getUserID();
    static QString getScreenResolution();
    static QString getSystemInfo();
    QString getUserAgent() const;

    AppAnalytics* const q;
    QPointer<QNetworkAccessManager> networkAccessManager;
    QList<QueryBuffer> messageQueue;
    QTimer sendTimer;
    QNetworkRequest request;
    QString trackingID;
    QString clientID;
    QString userID;
    QString appName;
    QString appVersion;
    QString language;
    QString screenResolution;
    QString viewportSize;
    bool isSending = false;

Q_SIGNALS:
    void postNextMessage();

public Q_SLOTS:
    void postMessage();

protected Q_SLOTS:
    void onApplicationStateChanged(Qt::ApplicationState appState);

private:
    HttpTransfer& transfer();
    void postMessageFinished();
    void removeAcknowledged(quint64 id);
    void writeAnalyticsDataToFile();
    void enqueueAnalyticsDataFromJsonArray();
    void onHitsRead(quint64 serial, const QList<QueryBuffer>& hits);
    // Restores here, in order, what the reader has not restored yet.
    void finishRestores();
    // Hits read from the file, behind the queue; `written`: the hits this process wrote to it.
    void restore(QList<QueryBuffer> hits, const QList<QueryBuffer>& written);
    void shutDown();

    // A content taken from the queue file, being read into hits.
    struct Restore
    {
        quint64 serial = 0;
        QByteArray content;
        QList<QueryBuffer> written;
    };

    AnalyticsQueueFile m_queueFile;
    // The hits written to the queue file since it was last read, with their ids.
    QList<QueryBuffer> m_fileMirror;
    WorkerHost<AnalyticsQueueReader> m_reader;
    QList<Restore> m_restores; // oldest first
    quint64 m_lastRestore = 0;
    HttpTransfer* m_transfer = nullptr;
    quint64 m_sendingId = 0;
    quint64 m_lastId = 0;
    bool m_failing = false;
};
