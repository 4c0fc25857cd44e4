#include "jsoncommand.h"

#include "backtickjson.h"
#include "consolereplyparser.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

namespace {

// Room for the rest of the set line around the command text.
constexpr int kMaxCommandBytes = ConsoleReplyParser::kMaxLineBytes - 256;

} // namespace

QString processRequestPrefix()
{
    static const QString prefix = QUuid::createUuid().toString();
    return prefix;
}

QString applicationIdOf(const QString& requestId)
{
    const QString prefix = processRequestPrefix() + QLatin1Char('_');
    return requestId.startsWith(prefix) ? requestId.mid(prefix.size()) : QString();
}

QByteArray createJsonCMD(const QString& method, const QString& appID, const QJsonArray& params)
{
    const QJsonObject command{{QStringLiteral("method"), method},
                              {QStringLiteral("id"), processRequestPrefix() + '_' + appID},
                              {QStringLiteral("params"), params}};
    const QByteArray json = QJsonDocument(command).toJson(QJsonDocument::Compact);
    const std::string text = backtickjson::encode(json.toStdString());
    if (text.size() > std::size_t(kMaxCommandBytes))
        return QByteArray();
    return QByteArray::fromStdString(text);
}
