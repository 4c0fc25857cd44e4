#include "consolerequest.h"

#include "consolelinebuilder.h"

#include <algorithm>

namespace {

// A list's path as the device writes it back: without the closing backslash.
QString listKey(const QString& path)
{
    QString key = path;
    while (key.endsWith(QLatin1Char('\\')))
        key.chop(1);
    return key;
}

} // namespace

std::optional<ConsoleRequest> ConsoleRequest::make(const DataFromDevice& record,
                                                   const QObject* owner, Priority priority)
{
    std::optional<QByteArray> line = ConsoleLineBuilder::request(record);
    if (!line)
        return std::nullopt;
    ConsoleRequest request;
    request.line = std::move(*line);
    request.command = record.command;
    request.poName = record.poName;
    request.svName = record.svName;
    request.target = targetOf(record.poName, record.svName, record.valueType);
    request.value = record.value;
    request.priority = priority;
    if (owner)
        request.owners.push_back(owner);
    return request;
}

QString ConsoleRequest::targetOf(const QString& poName, const QString& svName,
                                 const QString& valueType)
{
    QString target = ConsoleLineBuilder::pathBody(poName, svName);
    if (valueType == QLatin1String("%"))
        target += QLatin1Char('%');
    return target;
}

std::optional<ConsoleRequest> ConsoleRequest::unsubscription() const
{
    const QString valueType = target.endsWith(QLatin1Char('%')) ? QStringLiteral("%") : QString();
    return make({poName, svName, valueType, QString(), QStringLiteral("unsub")}, nullptr,
                Priority::Page);
}

bool ConsoleRequest::isList() const
{
    return command == QLatin1String("lc") || command == QLatin1String("ls");
}

// The device answers a request with its own word, or with that word and an "r" (`sub` with
// `subr`, `set` with `setr`, `unsub` with `unsubr`).
bool ConsoleRequest::answeredBy(QStringView replyWord, const QString& replyPo,
                                const QString& replySv) const
{
    if (isList() || !replyWord.startsWith(command))
        return false;
    const bool wordMatches = replyWord.size() == command.size() ||
                             (replyWord.size() == command.size() + 1 && replyWord.back() == 'r');
    return wordMatches && replySv == svName && replyPo == poName;
}

bool ConsoleRequest::answeredByList(bool enumeration, const QString& listPath) const
{
    if (command != (enumeration ? QLatin1String("lc") : QLatin1String("ls")))
        return false;
    return listKey(listPath) == listKey(ConsoleLineBuilder::pathBody(poName, svName));
}

bool ConsoleRequest::isOwnedBy(const QObject* owner) const
{
    return std::find(owners.begin(), owners.end(), owner) != owners.end();
}

void ConsoleRequest::addOwner(const QObject* owner)
{
    if (owner && !isOwnedBy(owner))
        owners.push_back(owner);
}

bool ConsoleRequest::removeOwner(const QObject* owner)
{
    const auto found = std::find(owners.begin(), owners.end(), owner);
    if (found == owners.end())
        return false;
    owners.erase(found);
    return owners.isEmpty();
}
