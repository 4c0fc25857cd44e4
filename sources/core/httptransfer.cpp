#include "httptransfer.h"

#include "downloadlimits.h"

#include <QFileInfo>
#include <QNetworkAccessManager>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

int standardPort(const QUrl& url)
{
    return url.scheme().toLower() == QLatin1String("https") ? 443 : 80;
}

// "host" stands for the host on the standard port of the address's scheme.
bool isOnHost(const QUrl& url, const QString& allowedHost)
{
    const QUrl allowed(QStringLiteral("http://") + allowedHost);
    return allowed.isValid() && url.host().toLower() == allowed.host() &&
           url.port(standardPort(url)) == allowed.port(standardPort(url));
}

// The bytes the disk that holds `path` has free for this process; -1 when unknown.
qint64 freeBytesFor(const QString& path)
{
    std::error_code failure;
    const std::filesystem::space_info disk = std::filesystem::space(
        QFile::encodeName(QFileInfo(path).absolutePath()).toStdString(), failure);
    return failure ? -1 : qint64(disk.available);
}

// QFile keeps only the system's text of its error. No space (ENOSPC) and no quota (EDQUOT) are
// the disk lacking room, for bytes or for inodes alike.
bool lacksRoom(const QFileDevice& file)
{
    const QString text = file.errorString();
#ifdef EDQUOT
    if (text == qt_error_string(EDQUOT))
        return true;
#endif
    return text == qt_error_string(ENOSPC);
}

} // namespace

HttpTransfer::HttpTransfer(QNetworkAccessManager* manager, QObject* parent)
    : QObject(parent), m_manager(manager), m_stallTimer(this)
{
    m_stallTimer.setSingleShot(true);
    m_stallTimer.setInterval(kDefaultStallLimit);
    connect(&m_stallTimer, &QTimer::timeout, this, [this] {
        fail(Failure::Network, QNetworkReply::TimeoutError,
             QStringLiteral("No data from %1 for %2 seconds.")
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

void HttpTransfer::setAllowedHosts(const QStringList& hosts)
{
    m_allowedHosts.clear();
    for (const QString& host : hosts)
        m_allowedHosts.append(host.toLower());
}

bool HttpTransfer::downloadToFile(const QNetworkRequest& request, const QString& filePath,
                                  qint64 ceiling)
{
    return start(Kind::File, request, ceiling, {}, filePath);
}

bool HttpTransfer::downloadToMemory(const QNetworkRequest& request, qint64 ceiling)
{
    return start(Kind::Memory, request, ceiling);
}

bool HttpTransfer::postForm(const QNetworkRequest& request, const QByteArray& body)
{
    return start(Kind::Post, request, kAnswerLimit, body);
}

void HttpTransfer::abort()
{
    if (m_running) {
        fail(Failure::Network, QNetworkReply::OperationCanceledError,
             QStringLiteral("The transfer of %1 was canceled.").arg(m_url.toDisplayString()));
    }
}

bool HttpTransfer::start(Kind kind, const QNetworkRequest& request, qint64 ceiling,
                         const QByteArray& body, const QString& filePath)
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
    m_ceiling = ceiling;
    m_received = 0;
    m_wireReceived = 0;
    m_freeWhenRefused = -1;
    m_fileProblem = {};
    m_redirects = 0;
    m_data.clear();

    if (kind == Kind::File)
        m_file.setFileName(temporaryPath());
    // Qt would read a file:// address from the disk: nothing but the web is fetched here.
    if (!isAllowed(m_url)) {
        failLater(Failure::Address, QNetworkReply::ContentAccessDenied, refusal(m_url));
        return true;
    }
    if (kind == Kind::File && !createPartialFile())
        return true;

    m_request = request;
    m_body = body;
    if (kind == Kind::Post && !request.header(QNetworkRequest::ContentTypeHeader).isValid()) {
        m_request.setHeader(QNetworkRequest::ContentTypeHeader,
                            QByteArrayLiteral("application/x-www-form-urlencoded"));
    }
    send();
    return true;
}

// Redirects are followed here, not by Qt, so that each one is checked before it is asked for.
// Asked for the body as it is, Qt leaves any encoding the server sends all the same to this
// class: Qt would inflate a compressed answer whole before a byte of it could be counted.
void HttpTransfer::send()
{
    m_request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                           QNetworkRequest::ManualRedirectPolicy);
    m_request.setRawHeader("Accept-Encoding", "identity");
    m_redirecting = false;
    m_decoder.emplace(QByteArray());
    m_reply = m_kind == Kind::Post ? m_manager->post(m_request, m_body) : m_manager->get(m_request);
    // A bounded buffer makes Qt read the socket only as fast as the body is stored, so a large
    // download does not pile up in memory.
    m_reply->setReadBufferSize(qMin<qint64>(kAnswerLimit, m_ceiling + 1));
    // Qt throttles downloadProgress, so the bytes themselves drive the stall timer and progress.
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpTransfer::storeAvailable);
    connect(m_reply, &QNetworkReply::uploadProgress, this, [this] { m_stallTimer.start(); });
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &HttpTransfer::onHeaders);
    connect(m_reply, &QNetworkReply::finished, this, &HttpTransfer::onReplyFinished);
    m_stallTimer.start();
}

bool HttpTransfer::isAllowed(const QUrl& url) const
{
    const QString scheme = url.scheme().toLower();
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty())
        return false;
    return m_allowedHosts.isEmpty() ||
           std::any_of(m_allowedHosts.begin(), m_allowedHosts.end(),
                       [&url](const QString& host) { return isOnHost(url, host); });
}

QString HttpTransfer::refusal(const QUrl& url) const
{
    const QString address = url.toDisplayString();
    if (m_allowedHosts.isEmpty()) {
        return QStringLiteral("Refused to download %1: only http and https addresses are allowed.")
            .arg(address);
    }
    return QStringLiteral("Refused to download %1: only http and https addresses on %2 are "
                          "allowed.")
        .arg(address, m_allowedHosts.join(QStringLiteral(", ")));
}

// Only a file made here is opened: whatever lies under the name goes first (a FIFO would hold the
// open for ever), but a folder, which is not the download's to remove, fails it. Unbuffered: a
// write that fills the disk then reports the disk's own error. A disk with no room for one more
// file is full, whatever ran out.
bool HttpTransfer::createPartialFile()
{
    m_file.remove();
    const bool folder = QFileInfo(temporaryPath()).isDir();
    if (!folder && m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return true;
    const QString reason = folder ? QStringLiteral("Is a directory") : m_file.errorString();
    const QString text = QStringLiteral("Could not save %1: %2").arg(temporaryPath(), reason);
    if (!folder && lacksRoom(m_file)) {
        failLater(Failure::Storage, QNetworkReply::UnknownContentError, text);
        return false;
    }
    m_fileProblem = {temporaryPath(), reason};
    failLater(Failure::Unwritable, QNetworkReply::UnknownContentError, text);
    return false;
}

void HttpTransfer::failLater(Failure failure, QNetworkReply::NetworkError error,
                             const QString& text)
{
    QTimer::singleShot(0, this, [this, failure, error, text, id = m_transferId] {
        if (m_running && id == m_transferId)
            finish(failure, error, text);
    });
}

// A redirect to follow. One in answer to a POST is not: it does not accept the form.
bool HttpTransfer::isRedirect() const
{
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return m_kind != Kind::Post &&
           (status == 301 || status == 302 || status == 303 || status == 307 || status == 308) &&
           m_reply->attribute(QNetworkRequest::RedirectionTargetAttribute).isValid();
}

// A redirect may neither leave the allowed addresses nor fall from https to http.
void HttpTransfer::followRedirect()
{
    const QUrl from = m_reply->url();
    const QUrl to =
        from.resolved(m_reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl());
    if (++m_redirects > kMaximumRedirects) {
        fail(Failure::Network, QNetworkReply::TooManyRedirectsError,
             QStringLiteral("%1 redirected more than %2 times.")
                 .arg(m_url.toDisplayString())
                 .arg(kMaximumRedirects));
        return;
    }
    const bool downgrade = from.scheme().toLower() == QLatin1String("https") &&
                           to.scheme().toLower() != QLatin1String("https");
    if (!isAllowed(to) || downgrade) {
        fail(Failure::Address, QNetworkReply::ContentAccessDenied,
             QStringLiteral("%1 redirected to %2. %3")
                 .arg(m_url.toDisplayString(), to.toDisplayString(), refusal(to)));
        return;
    }
    releaseReply();
    m_request.setUrl(to);
    send();
}

// An encoding that cannot be undone, a length announced beyond the ceiling, or beyond the free
// space of the target's disk, ends the transfer before its first byte is stored. The length of
// a compressed answer says nothing of its size decoded.
void HttpTransfer::onHeaders()
{
    m_redirecting = isRedirect();
    if (m_redirecting)
        return;
    m_decoder.emplace(m_reply->rawHeader("Content-Encoding"));
    if (!m_decoder->isSupported()) {
        fail(Failure::Network, QNetworkReply::ProtocolFailure,
             QStringLiteral("The answer from %1 is encoded as \"%2\", which cannot be read.")
                 .arg(m_url.toDisplayString(), QString::fromLatin1(m_decoder->name())));
        return;
    }
    const std::optional<qint64> length = announcedLength();
    if (!length || !m_decoder->isIdentity())
        return;
    if (*length > m_ceiling) {
        fail(Failure::TooLarge, QNetworkReply::UnknownContentError,
             QStringLiteral("The download from %1 announces %2, more than the %3 allowed.")
                 .arg(m_url.toDisplayString(), downloadlimits::sizeText(*length),
                      downloadlimits::sizeText(m_ceiling)));
        return;
    }
    if (m_kind != Kind::File)
        return;
    const qint64 free = freeBytesFor(m_file.fileName());
    if (free < 0 || *length <= free - m_freeSpaceMargin)
        return;
    QString text =
        QStringLiteral("Could not save %1: it needs %2 and the disk has %3 free")
            .arg(m_filePath, downloadlimits::sizeText(*length), downloadlimits::sizeText(free));
    if (m_freeSpaceMargin > 0) {
        text += QStringLiteral(", of which %1 must stay free")
                    .arg(downloadlimits::sizeText(m_freeSpaceMargin));
    }
    fail(Failure::Storage, QNetworkReply::UnknownContentError, text + QLatin1Char('.'));
}

bool HttpTransfer::storeAvailable()
{
    const QByteArray bytes = m_reply->readAll();
    if (bytes.isEmpty())
        return true;
    m_stallTimer.start();
    // A redirect's body is not the file.
    if (m_redirecting)
        return true;
    m_wireReceived += bytes.size();
    const auto sink = [this](const char* data, qint64 size) { return store(data, size); };
    switch (m_decoder->decode(bytes, sink)) {
    case ContentDecoder::Outcome::Decoded:
        break;
    case ContentDecoder::Outcome::Stopped:
        failToStore();
        return false;
    case ContentDecoder::Outcome::Invalid:
        fail(Failure::Network, QNetworkReply::ProtocolFailure,
             QStringLiteral("The %1 answer from %2 cannot be decoded: %3")
                 .arg(QString::fromLatin1(m_decoder->name()), m_url.toDisplayString(),
                      m_decoder->errorString()));
        return false;
    }
    Q_EMIT progress(m_decoder->isIdentity() ? m_received : m_wireReceived,
                    announcedLength().value_or(-1));
    return true;
}

// Counts the decoded bytes against the ceiling before they are kept. The decoder is still at
// work when this refuses a piece: the failure is reported once it has returned.
bool HttpTransfer::store(const char* data, qint64 size)
{
    m_received += size;
    if (m_received > m_ceiling)
        return false;
    if (m_kind == Kind::File)
        return leavesFreeSpace(size) && writeToFile(data, size);
    m_data.append(data, int(size));
    return true;
}

// Asked before every piece is written: a compressed body announces nothing of its size decoded.
bool HttpTransfer::leavesFreeSpace(qint64 size)
{
    if (m_freeSpaceMargin <= 0)
        return true;
    const qint64 free = freeBytesFor(m_file.fileName());
    if (free < 0 || free - size >= m_freeSpaceMargin)
        return true;
    m_freeWhenRefused = free;
    return false;
}

void HttpTransfer::failToStore()
{
    if (m_received > m_ceiling) {
        fail(Failure::TooLarge, QNetworkReply::UnknownContentError,
             QStringLiteral("The download from %1 is larger than the %2 allowed and was stopped.")
                 .arg(m_url.toDisplayString(), downloadlimits::sizeText(m_ceiling)));
    } else if (m_freeWhenRefused >= 0) {
        fail(Failure::Storage, QNetworkReply::UnknownContentError,
             QStringLiteral("Could not save %1: the disk has %2 free, and %3 must stay free.")
                 .arg(m_filePath, downloadlimits::sizeText(m_freeWhenRefused),
                      downloadlimits::sizeText(m_freeSpaceMargin)));
    } else {
        fail(Failure::Storage, QNetworkReply::UnknownContentError,
             QStringLiteral("Could not save %1: %2").arg(m_file.fileName(), m_file.errorString()));
    }
}

// A write cut short by a full disk is tried again for the rest, which then fails with the
// disk's error.
bool HttpTransfer::writeToFile(const char* data, qint64 size)
{
    for (qint64 done = 0; done < size;) {
        const qint64 written = m_file.write(data + done, size - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

void HttpTransfer::onReplyFinished()
{
    if (!storeAvailable())
        return;
    const QNetworkReply::NetworkError error = m_reply->error();
    if (error != QNetworkReply::NoError) {
        fail(Failure::Network, error, m_reply->errorString());
        return;
    }
    if (m_redirecting) {
        followRedirect();
        return;
    }
    if (!answerIsComplete())
        return;
    releaseReply();
    finish(Failure::None, QNetworkReply::NoError, {});
}

// Qt reports 4xx and 5xx itself; anything else but the expected status, and a body shorter or
// longer than announced, fails here.
bool HttpTransfer::answerIsComplete()
{
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool accepted = m_kind == Kind::Post ? status / 100 == 2 : status == 200;
    if (!accepted) {
        fail(Failure::Network, QNetworkReply::UnknownContentError,
             QStringLiteral("%1 answered with HTTP status %2.")
                 .arg(m_url.toDisplayString())
                 .arg(status));
        return false;
    }
    const std::optional<qint64> length = announcedLength();
    if (length && *length != m_wireReceived) {
        fail(Failure::Network, QNetworkReply::ProtocolFailure,
             QStringLiteral("The answer from %1 had %2 bytes, not the %3 it announced.")
                 .arg(m_url.toDisplayString())
                 .arg(m_wireReceived)
                 .arg(*length));
        return false;
    }
    if (!m_decoder->isComplete()) {
        fail(Failure::Network, QNetworkReply::ProtocolFailure,
             QStringLiteral("The %1 answer from %2 ended before its compressed stream did.")
                 .arg(QString::fromLatin1(m_decoder->name()), m_url.toDisplayString()));
        return false;
    }
    return true;
}

std::optional<qint64> HttpTransfer::announcedLength() const
{
    return downloadlimits::contentLength(m_reply->rawHeader("Content-Length"));
}

void HttpTransfer::fail(Failure failure, QNetworkReply::NetworkError error, const QString& text)
{
    releaseReply();
    finish(failure, error, text);
}

void HttpTransfer::finish(Failure failure, QNetworkReply::NetworkError error, const QString& text)
{
    m_failure = failure;
    m_error = error;
    m_errorString = text;
    if (m_kind == Kind::File && m_failure == Failure::None) {
        m_failure = commitFile(&m_errorString);
        if (m_failure != Failure::None)
            m_error = QNetworkReply::UnknownContentError;
    }
    if (m_failure != Failure::None) {
        m_data.clear();
        if (m_kind == Kind::File)
            m_file.remove();
    }
    m_running = false;
    Q_EMIT finished();
}

// Renames the complete download over the target; the file already there stays until then. The
// last bytes failing to reach the disk is the disk's failure; the name being taken, the file's.
HttpTransfer::Failure HttpTransfer::commitFile(QString* errorString)
{
    m_file.close();
    if (m_file.error() != QFileDevice::NoError) {
        *errorString =
            QStringLiteral("Could not save %1: %2").arg(m_file.fileName(), m_file.errorString());
        return Failure::Storage;
    }
    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(temporaryPath()).toStdString(),
                            QFile::encodeName(m_filePath).toStdString(), failure);
    if (!failure)
        return Failure::None;
    m_fileProblem = {m_filePath, QString::fromStdString(failure.message())};
    *errorString = QStringLiteral("Could not replace %1: %2")
                       .arg(m_fileProblem.fileName, m_fileProblem.reason);
    return Failure::Unwritable;
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
