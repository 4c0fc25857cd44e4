#include "consolelinebuilder.h"

#include <QLoggingCategory>

namespace {

bool holdsLineBreakOrNul(const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            return true;
    }
    return false;
}

bool isSafeName(const QString& name)
{
    return !holdsLineBreakOrNul(name) && !name.contains(QLatin1Char('"'));
}

// A value either holds no double quote, or is one quoted choice: `"text"` with none inside.
bool isSafeValue(const QString& value)
{
    if (holdsLineBreakOrNul(value))
        return false;
    if (!value.startsWith(QLatin1Char('"')))
        return !value.contains(QLatin1Char('"'));
    return value.size() >= 2 && value.endsWith(QLatin1Char('"')) &&
           value.indexOf(QLatin1Char('"'), 1) == value.size() - 1;
}

} // namespace

QString ConsoleLineBuilder::pathBody(const QString& poName, const QString& svName)
{
    if (poName == QLatin1String("NPO"))
        return QStringLiteral("\\\\") + svName + QLatin1Char('\\');
    if (poName == QLatin1String("Presets"))
        return QStringLiteral("\\\\Storage\\Presets\\SV\\") + svName + QLatin1Char('\\');
    if (poName == QLatin1String("Crossover") &&
        (svName == QLatin1String("NumBands") || svName == QLatin1String("MonoSub")))
        return QStringLiteral("\\\\Preset\\Crossover\\AT\\") + svName + QLatin1Char('\\');
    return QStringLiteral("\\\\Preset\\") + poName + QStringLiteral("\\SV\\") + svName +
           QLatin1Char('\\');
}

std::optional<QByteArray> ConsoleLineBuilder::request(const DataFromDevice& record)
{
    if (record.poName.isEmpty() || record.svName.isEmpty())
        return std::nullopt;
    if (!isSafeName(record.command) || !isSafeName(record.poName) || !isSafeName(record.svName) ||
        !isSafeValue(record.value)) {
        qWarning().noquote() << "Console request dropped: unsafe characters in" << record.command
                             << "request for" << record.poName << record.svName.left(200);
        return std::nullopt;
    }

    QString line = record.command + QStringLiteral(" \"") + pathBody(record.poName, record.svName);
    if (record.valueType == QLatin1String("%"))
        line += QLatin1Char('%');
    if (record.value.isEmpty())
        line += QLatin1Char('"');
    else if (record.value.startsWith(QLatin1Char('"')))
        line += QStringLiteral("\" ") + record.value;
    else
        line += QStringLiteral("\" \"") + record.value + QLatin1Char('"');
    line += QLatin1Char('\n');
    return line.toUtf8();
}

std::optional<QByteArray> ConsoleLineBuilder::login(const QString& password)
{
    if (!isSafeName(password)) {
        qWarning() << "Login line dropped: the password holds a line break or a double quote";
        return std::nullopt;
    }
    return QStringLiteral("connect administrator \"%1\"\n").arg(password).toUtf8();
}

bool ConsoleLineBuilder::isSingleLine(const QByteArray& line)
{
    if (!line.endsWith('\n'))
        return false;
    for (int i = 0; i < line.size() - 1; ++i) {
        const char c = line.at(i);
        if (c == '\n' || c == '\r' || c == '\0')
            return false;
    }
    return true;
}
