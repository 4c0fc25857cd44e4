#include "httptransfer.h"

#include <QNetworkAccessManager>

#include <filesystem>
#include <system_error>

HttpTransfer::HttpTransfer(QNetworkAccessManager* manager, QObject* parent)
    : QObject(parent), m_manager(manager), m_stallTimer(this)
{
    m_stallTimer.setSingleShot(true);
    m_stallTimer.setInterval(kDefaultStallLimit);
    connect(&m_stallTimer, &QTimer::timeout, this, [this] {
        fail(QNetworkReply::TimeoutError, QStringLiteral("No data from %1 for %2 seconds.")
                                              .arg(m_url.toDisplayString())
                                              .arg(m_stallTimer.interval() / 1000.0));
    });
}

HttpTransfer::~HttpTransfer()
{
    releaseReply();
    if (m_file.isOpen())
        m_file.remove();
}

bool HttpTransfer::downloadToFile(const QNetworkRequest& request, const QString& filePath)
{
    return start(Kind::File, request, {}, filePath);
}

bool HttpTransfer::downloadToMemory(const QNetworkRequest& request)
{
    return start(Kind::Memory, request);
}

bool HttpTransfer::postForm(const QNetworkRequest& request, const QByteArray& body)
{
    return start(Kind::Post, request, body);
}

void HttpTransfer::abort()
{
    if (m_running) {
        fail(QNetworkReply::OperationCanceledError,
             QStringLiteral("The transfer of %1 was canceled.").arg(m_url.toDisplayString()));
    }
}

bool HttpTransfer::start(Kind kind, QNetworkRequest request, const QByteArray& body,
                         const QString& filePath)
{
    if (m_running) {
        qWarning().noquote() << "HTTP transfer of" << request.url().toDisplayString()
                             << "refused: another one is running.";
        return false;
    }
    m_running = true;
    ++m_transferId;
    m_kind = kind;
    m_url = request.url();
    m_filePath = filePath;
    m_received = 0;
    m_data.clear();

    if (kind == Kind::File) {
        m_file.setFileName(temporaryPath());
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            const QString text = QStringLiteral("Could not open %1 for writing: %2")
                                     .arg(temporaryPath(), m_file.errorString());
            QTimer::singleShot(0, this, [this, text, id = m_transferId] {
                if (m_running && id == m_transferId)
                    finish(QNetworkReply::UnknownContentError, text);
            });
            return true;
        }
    }

    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaximumRedirects);
    if (kind == Kind::Post) {
        if (!request.header(QNetworkRequest::ContentTypeHeader).isValid()) {
            request.setHeader(QNetworkRequest::ContentTypeHeader,
                              QByteArrayLiteral("application/x-www-form-urlencoded"));
        }
        m_reply = m_manager->post(request, body);
    } else {
        m_reply = m_manager->get(request);
    }
    // A bounded buffer makes Qt read the socket only as fast as the body is stored, so a large
    // download does not pile up in memory.
    m_reply->setReadBufferSize(kReadBufferSize);
    // Qt throttles downloadProgress, so the bytes themselves drive the stall timer and progress.
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpTransfer::storeAvailable);
    connect(m_reply, &QNetworkReply::uploadProgress, this, [this] { m_stallTimer.start(); });
    connect(m_reply, &QNetworkReply::finished, this, &HttpTransfer::onReplyFinished);
    m_stallTimer.start();
    return true;
}

qint64 HttpTransfer::sizeLimit() const
{
    return m_sizeLimit.value_or(m_kind == Kind::File ? -1 : kDefaultMemoryLimit);
}

bool HttpTransfer::storeAvailable()
{
    const QByteArray bytes = m_reply->readAll();
    if (bytes.isEmpty())
        return true;
    m_stallTimer.start();
    m_received += bytes.size();
    const qint64 limit = sizeLimit();
    if (limit >= 0 && m_received > limit) {
        fail(QNetworkReply::UnknownContentError,
             QStringLiteral("The answer from %1 is larger than %2 bytes.")
                 .arg(m_url.toDisplayString())
                 .arg(limit));
        return false;
    }
    if (m_kind != Kind::File) {
        m_data += bytes;
    } else if (m_file.write(bytes) != bytes.size()) {
        fail(QNetworkReply::UnknownContentError,
             QStringLiteral("Could not write %1: %2").arg(m_file.fileName(), m_file.errorString()));
        return false;
    }
    Q_EMIT progress(m_received, announcedLength().value_or(-1));
    return true;
}

void HttpTransfer::onReplyFinished()
{
    if (!storeAvailable())
        return;
    const QNetworkReply::NetworkError error = m_reply->error();
    if (error != QNetworkReply::NoError) {
        fail(error, m_reply->errorString());
        return;
    }
    if (!answerIsComplete())
        return;
    releaseReply();
    finish(QNetworkReply::NoError, {});
}

// Qt reports 4xx and 5xx itself; anything else but the expected status, and a body shorter or
// longer than announced, fails here.
bool HttpTransfer::answerIsComplete()
{
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool accepted = m_kind == Kind::Post ? status / 100 == 2 : status == 200;
    if (!accepted) {
        fail(QNetworkReply::UnknownContentError, QStringLiteral("%1 answered with HTTP status %2.")
                                                     .arg(m_url.toDisplayString())
                                                     .arg(status));
        return false;
    }
    // Qt unpacks a compressed body itself; its length on the wire is not the count here.
    const std::optional<qint64> length = announcedLength();
    if (length && !m_reply->hasRawHeader("Content-Encoding") && *length != m_received) {
        fail(QNetworkReply::ProtocolFailure,
             QStringLiteral("The answer from %1 had %2 bytes, not the %3 it announced.")
                 .arg(m_url.toDisplayString())
                 .arg(m_received)
                 .arg(*length));
        return false;
    }
    return true;
}

// After a redirect Qt now and then joins the redirect's headers to the final answer's
// ("Content-Length: 0, 65536"), and its parsed header then holds the redirect's length. The
// final answer's value is the last one.
std::optional<qint64> HttpTransfer::announcedLength() const
{
    const QByteArray header = m_reply->rawHeader("Content-Length");
    if (header.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 length = header.mid(header.lastIndexOf(',') + 1).trimmed().toLongLong(&ok);
    return ok && length >= 0 ? std::optional<qint64>(length) : std::nullopt;
}

void HttpTransfer::fail(QNetworkReply::NetworkError error, const QString& text)
{
    releaseReply();
    finish(error, text);
}

void HttpTransfer::finish(QNetworkReply::NetworkError error, const QString& text)
{
    m_error = error;
    m_errorString = text;
    if (m_kind == Kind::File && m_error == QNetworkReply::NoError) {
        m_errorString = commitFile();
        if (!m_errorString.isEmpty())
            m_error = QNetworkReply::UnknownContentError;
    }
    if (m_error != QNetworkReply::NoError) {
        m_data.clear();
        if (m_kind == Kind::File)
            m_file.remove();
    }
    m_running = false;
    Q_EMIT finished();
}

// Renames the complete download over the target; the file already there stays until then.
QString HttpTransfer::commitFile()
{
    m_file.close();
    if (m_file.error() != QFileDevice::NoError) {
        return QStringLiteral("Could not write %1: %2")
            .arg(m_file.fileName(), m_file.errorString());
    }
    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(temporaryPath()).toStdString(),
                            QFile::encodeName(m_filePath).toStdString(), failure);
    if (failure) {
        return QStringLiteral("Could not replace %1: %2")
            .arg(m_filePath, QString::fromStdString(failure.message()));
    }
    return {};
}

void HttpTransfer::releaseReply()
{
    m_stallTimer.stop();
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    if (!m_reply->isFinished())
        m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}
