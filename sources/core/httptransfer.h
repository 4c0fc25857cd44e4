#pragma once

#include "contentdecoder.h"

#include <QByteArray>
#include <QFile>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <optional>

class QNetworkAccessManager;

// One HTTP transfer at a time: a GET into a file or into memory, or a POST of a form body.
// Every download and upload of the application goes through it, so each one gets the same
// checks: only http and https addresses (on the allowed hosts, redirects included), HTTP status,
// byte count against Content-Length, a ceiling on the size of the body as decoded, the free space
// its disk keeps, a bounded number of redirects and a time limit without progress. A file download
// is written to "<name>.tmp" and renamed over "<name>" only when it is complete, so a failed
// download never damages the file already there.
//
// Phases: idle -> transferring (request out, body streaming, stall timer running) -> checked
// (status, length; file renamed) -> finished() -> idle again. finished() comes exactly once per
// started transfer, from the event loop (or from abort()), never from inside the call that
// started it. The object lives in the thread of its network access manager.
class HttpTransfer : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kDefaultStallLimit{60000};
    static constexpr int kMaximumRedirects = 5;
    // The answer to a POST is kept up to this size.
    static constexpr qint64 kAnswerLimit = 1024 * 1024;

    // What ended a failed transfer. For all but Network, errorString() is a sentence that names
    // the cause for the user.
    enum class Failure {
        None,
        Network,    // the network or the server; error() tells which
        TooLarge,   // the body, or the length announced for it, passed its ceiling
        Storage,    // the disk takes no more (the free space it must keep, a failed write, no room
                    // for one more file)
        Unwritable, // the file could not be made or put in place (something in its way, no rights)
        Address,    // not an http or https address on an allowed host
    };

    // Of an Unwritable failure: the file and the system's reason, which errorString() joins.
    struct FileProblem
    {
        QString fileName;
        QString reason;
    };

    // `manager` is not owned and must outlive the transfer.
    explicit HttpTransfer(QNetworkAccessManager* manager, QObject* parent = nullptr);
    ~HttpTransfer() override;

    void setStallLimit(std::chrono::milliseconds limit) { m_stallTimer.setInterval(limit); }
    // Later file downloads stop before they leave less than `bytes` free on their disk, checked
    // against the announced length and again as the decoded bytes arrive. 0, the default, checks
    // only that an announced length fits: a disk that fills up then names itself.
    void setFreeSpaceMargin(qint64 bytes) { m_freeSpaceMargin = bytes; }
    // The hosts that later transfers and their redirects may reach, each "host" (on the
    // standard port of http or https) or "host:port"; empty, the default, allows any host.
    void setAllowedHosts(const QStringList& hosts);

    // Each returns false, and starts nothing, while another transfer runs. The request's
    // redirect policy and Accept-Encoding are replaced by this class's. A body larger than
    // `ceiling` bytes, counted after any content decoding, fails.
    bool downloadToFile(const QNetworkRequest& request, const QString& filePath, qint64 ceiling);
    bool downloadToMemory(const QNetworkRequest& request, qint64 ceiling);
    // Content type "application/x-www-form-urlencoded" unless the request sets one; any 2xx
    // answer counts as accepted.
    bool postForm(const QNetworkRequest& request, const QByteArray& body);
    // Ends the running transfer at once with OperationCanceledError (finished() is emitted
    // before this returns); the partial file is removed.
    void abort();

    // Where a download into `filePath` runs until it is complete.
    static QString partialPath(const QString& filePath)
    {
        return filePath + QStringLiteral(".tmp");
    }

    // From a start until finished() has been emitted.
    bool isRunning() const { return m_running; }
    // After finished(): NoError on success; the network error, or the closest one for a failed
    // check, so that callers can map it to their own texts.
    QNetworkReply::NetworkError error() const { return m_error; }
    Failure failure() const { return m_failure; }
    QString errorString() const { return m_errorString; }
    FileProblem fileProblem() const { return m_fileProblem; }
    // The bytes of the body taken so far, decoded, kept or not.
    qint64 bytesReceived() const { return m_received; }
    // The body of a download into memory, or the answer to a POST.
    QByteArray data() const { return m_data; }

Q_SIGNALS:
    // Bytes received so far and the total, -1 while the total is unknown; of a compressed
    // answer, its compressed bytes.
    void progress(qint64 bytesReceived, qint64 bytesTotal);
    void finished();

private:
    enum class Kind { File, Memory, Post };

    bool start(Kind kind, const QNetworkRequest& request, qint64 ceiling,
               const QByteArray& body = {}, const QString& filePath = {});
    // Opens a new file under the partial name; false, with the failure to come, when it cannot.
    bool createPartialFile();
    bool isAllowed(const QUrl& url) const;
    QString refusal(const QUrl& url) const;
    // Ends the transfer just started on a later turn, as every failure before a request goes.
    void failLater(Failure failure, QNetworkReply::NetworkError error, const QString& text);
    void send();
    bool isRedirect() const;
    void followRedirect();
    void onHeaders();
    bool storeAvailable();
    bool store(const char* data, qint64 size);
    bool leavesFreeSpace(qint64 size);
    void failToStore();
    bool writeToFile(const char* data, qint64 size);
    void onReplyFinished();
    bool answerIsComplete();
    std::optional<qint64> announcedLength() const;
    void fail(Failure failure, QNetworkReply::NetworkError error, const QString& text);
    void finish(Failure failure, QNetworkReply::NetworkError error, const QString& text);
    // Failure::None, or the failure with its sentence in `errorString`.
    Failure commitFile(QString* errorString);
    void releaseReply();
    QString temporaryPath() const { return partialPath(m_filePath); }

    QNetworkAccessManager* m_manager;
    QPointer<QNetworkReply> m_reply;
    QTimer m_stallTimer;
    QStringList m_allowedHosts;
    Kind m_kind = Kind::Memory;
    QUrl m_url;
    QString m_filePath;
    QNetworkRequest m_request;
    QByteArray m_body;
    std::optional<ContentDecoder> m_decoder;
    QFile m_file;
    qint64 m_ceiling = 0;
    qint64 m_freeSpaceMargin = 0;
    qint64 m_freeWhenRefused = -1; // the disk's free bytes when the margin stopped a write
    qint64 m_received = 0;         // of the body, decoded
    qint64 m_wireReceived = 0;     // of the answer as sent
    int m_redirects = 0;
    // The answer being read is a redirect: its body is dropped, its target followed.
    bool m_redirecting = false;
    bool m_running = false;
    quint64 m_transferId = 0;
    QByteArray m_data;
    Failure m_failure = Failure::None;
    QNetworkReply::NetworkError m_error = QNetworkReply::NoError;
    QString m_errorString;
    FileProblem m_fileProblem;
};
