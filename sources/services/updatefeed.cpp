#include "updatefeed.h"

#include "safefilename.h"

#include <QAbstractMessageHandler>
#include <QDebug>
#include <QXmlQuery>
#include <QXmlStreamReader>

namespace updatefeed {

namespace {

const char* const kApplicationPath =
    "/Config/Brand[@Name='yoxl']/Product[@Name='QX8 Application']/Revision[@Platform='%1']"
    "/string(concat(@Version,\"|\",@ImageUrl))";
const char* const kFirmwarePath = "/Config/Brand[@Name='yoxl']/Product[@Name='QX8 Firmware']"
                                  "/Revision/string(concat(@Version,\"|\",@ImageUrl))";
// The only desktop platform the application asks the feed for.
const char* const kPlatform = "Mac";

// The query engine reports a feed it cannot read through this handler; that is a fact for the
// log, not a warning of the application.
class FeedMessageLog : public QAbstractMessageHandler
{
protected:
    void handleMessage(QtMsgType, const QString& description, const QUrl&,
                       const QSourceLocation& location) override
    {
        qDebug().noquote() << "Update feed, line" << location.line() << ":" << description;
    }
};

// The namespace of the root element of a feed that is well-formed XML without a document type
// declaration; nothing for any other. A declaration may define entities that swell the feed
// many times over, or name local files to read into it.
std::optional<QString> rootNamespace(const QByteArray& feed)
{
    QXmlStreamReader reader(feed);
    std::optional<QString> namespaceUri;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD) {
            qDebug() << "Update feed refused: it carries a document type declaration";
            return std::nullopt;
        }
        if (token == QXmlStreamReader::StartElement && !namespaceUri)
            namespaceUri = reader.namespaceUri().toString();
    }
    if (reader.hasError()) {
        qDebug().noquote() << "Update feed not well-formed, line" << reader.lineNumber() << ":"
                           << reader.errorString();
        return std::nullopt;
    }
    return namespaceUri;
}

QString productPath(Product product)
{
    return product == Product::Application
               ? QString::fromLatin1(kApplicationPath).arg(QLatin1String(kPlatform))
               : QString::fromLatin1(kFirmwarePath);
}

// Every part of a version as an integer; a part that does not read as one counts as 0.
QList<int> versionParts(const QString& version)
{
    QList<int> parts;
    for (const QStringRef& part : version.splitRef(QLatin1Char('.')))
        parts.append(part.toInt());
    return parts;
}

} // namespace

std::optional<QStringList> rows(const QByteArray& feed, Product product)
{
    const int end = feed.indexOf('\0');
    const QByteArray document = end < 0 ? feed : feed.left(end);
    const std::optional<QString> namespaceUri = rootNamespace(document);
    if (!namespaceUri)
        return std::nullopt;
    // The URI goes into a string literal of the query: a quote or an entity would end it early.
    if (namespaceUri->contains(QLatin1Char('"')) || namespaceUri->contains(QLatin1Char('&'))) {
        qDebug() << "Invalid query";
        return std::nullopt;
    }
    const QString prolog =
        namespaceUri->isEmpty()
            ? QString()
            : QStringLiteral("declare default element namespace \"%1\";").arg(*namespaceUri);

    FeedMessageLog messages;
    QXmlQuery query;
    query.setMessageHandler(&messages);
    if (!query.setFocus(QString::fromUtf8(document)))
        return std::nullopt;
    query.setQuery(prolog + productPath(product));
    if (!query.isValid()) {
        qDebug() << "Invalid query";
        return std::nullopt;
    }
    QStringList result;
    query.evaluateTo(&result);
    return result;
}

Latest latest(const QStringList& rows, const QString& ownVersion)
{
    Latest newest{ownVersion, {}};
    for (const QString& row : rows) {
        const QStringList parts = row.split(QLatin1Char('|'));
        if (parts.size() < 2 || !safefilename::isSafe(parts.at(0)))
            continue;
        if (isFirstGreaterThanSecond(parts.at(0), newest.version))
            newest = {parts.at(0), parts.at(1)};
    }
    if (newest.version == ownVersion)
        newest.imageUrl.clear();
    return newest;
}

bool isFirstGreaterThanSecond(const QString& first, const QString& second)
{
    const QList<int> firstParts = versionParts(first);
    const QList<int> secondParts = versionParts(second);
    const int common = qMin(firstParts.size(), secondParts.size());
    for (int i = 0; i < common; ++i) {
        if (firstParts.at(i) != secondParts.at(i))
            return firstParts.at(i) > secondParts.at(i);
    }
    for (int i = common; i < firstParts.size(); ++i) {
        if (firstParts.at(i) > 0)
            return true;
    }
    return false;
}

QString errorText(QNetworkReply::NetworkError code)
{
    switch (code) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
        return QStringLiteral("Failed to connect to update server. Please check your internet "
                              "connection and try again.");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
        return QStringLiteral("The connection timed out. Please check your internet connection "
                              "and try again.");
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("The operation was canceled.");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::ProtocolFailure:
    case QNetworkReply::InternalServerError:
    case QNetworkReply::OperationNotImplementedError:
    case QNetworkReply::ServiceUnavailableError:
        return QStringLiteral("The server is temporarily unable to handle the request at this "
                              "time. Please try again after sometime.");
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::ContentOperationNotPermittedError:
    case QNetworkReply::AuthenticationRequiredError:
        return QStringLiteral("Proxy authentication failed. Please disable the firewall or "
                              "connect to an open network.");
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::ContentReSendError:
    case QNetworkReply::ContentConflictError:
    case QNetworkReply::ContentGoneError:
        return QStringLiteral("The content requested was not found in the remote server. Please "
                              "contact customer care.");
    default:
        return QStringLiteral("Unknown network error. Please check your internet connection and "
                              "try again.");
    }
}

} // namespace updatefeed
