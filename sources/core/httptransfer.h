#pragma once

#include <QByteArray>
#include <QFile>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <optional>

class QNetworkAccessManager;

// One HTTP transfer at a time: a GET into a file or into memory, or a POST of a form body.
// Every download and upload of the application goes through it, so each one gets the same
// checks: HTTP status, byte count against Content-Length, a size limit, a bounded number of
// redirects and a time limit without progress. A file download is written to "<name>.tmp" and
// renamed over "<name>" only when it is complete, so a failed download never damages the file
// already there.
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
    // Bodies kept in memory (feeds, manifests, answers) are limited unless a limit is set.
    static constexpr qint64 kDefaultMemoryLimit = 16 * 1024 * 1024;

    // `manager` is not owned and must outlive the transfer.
    explicit HttpTransfer(QNetworkAccessManager* manager, QObject* parent = nullptr);
    ~HttpTransfer() override;

    void setStallLimit(std::chrono::milliseconds limit) { m_stallTimer.setInterval(limit); }
    // Largest body accepted by every later transfer, in bytes; negative for no limit. Until it
    // is set: kDefaultMemoryLimit into memory, no limit into a file.
    void setSizeLimit(qint64 bytes) { m_sizeLimit = bytes; }

    // Each returns false, and starts nothing, while another transfer runs. The request's
    // redirect policy and limit are replaced by this class's.
    bool downloadToFile(const QNetworkRequest& request, const QString& filePath);
    bool downloadToMemory(const QNetworkRequest& request);
    // Content type "application/x-www-form-urlencoded" unless the request sets one; any 2xx
    // answer counts as accepted.
    bool postForm(const QNetworkRequest& request, const QByteArray& body);
    // Ends the running transfer at once with OperationCanceledError (finished() is emitted
    // before this returns); the partial file is removed.
    void abort();

    // From a start until finished() has been emitted.
    bool isRunning() const { return m_running; }
    // After finished(): NoError on success; the network error, or the closest one for a failed
    // check, so that callers can map it to their own texts.
    QNetworkReply::NetworkError error() const { return m_error; }
    QString errorString() const { return m_errorString; }
    // The body of a download into memory, or the answer to a POST.
    QByteArray data() const { return m_data; }

Q_SIGNALS:
    // Bytes received so far and the total, -1 while the total is unknown.
    void progress(qint64 bytesReceived, qint64 bytesTotal);
    void finished();

private:
    enum class Kind { File, Memory, Post };
    static constexpr qint64 kReadBufferSize = 1024 * 1024;

    bool start(Kind kind, QNetworkRequest request, const QByteArray& body = {},
               const QString& filePath = {});
    qint64 sizeLimit() const;
    bool storeAvailable();
    void onReplyFinished();
    bool answerIsComplete();
    std::optional<qint64> announcedLength() const;
    void fail(QNetworkReply::NetworkError error, const QString& text);
    void finish(QNetworkReply::NetworkError error, const QString& text);
    QString commitFile();
    void releaseReply();
    QString temporaryPath() const { return m_filePath + QStringLiteral(".tmp"); }

    QNetworkAccessManager* m_manager;
    QPointer<QNetworkReply> m_reply;
    QTimer m_stallTimer;
    Kind m_kind = Kind::Memory;
    QUrl m_url;
    QString m_filePath;
    QFile m_file;
    std::optional<qint64> m_sizeLimit;
    qint64 m_received = 0;
    bool m_running = false;
    quint64 m_transferId = 0;
    QByteArray m_data;
    QNetworkReply::NetworkError m_error = QNetworkReply::NoError;
    QString m_errorString;
};
