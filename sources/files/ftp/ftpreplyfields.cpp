#include "ftpreplyfields.h"

#include <QRegularExpression>

#include <limits>

namespace ftpreplyfields {

namespace {

// Decimal digits alone, at most `maximum`.
std::optional<qint64> number(const QStringRef& text, qint64 maximum)
{
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok && value <= maximum ? std::optional<qint64>(value) : std::nullopt;
}

std::optional<quint16> port(qint64 value)
{
    return value >= 1 && value <= 65535 ? std::optional<quint16>(quint16(value)) : std::nullopt;
}

} // namespace

std::optional<PassiveAddress> passiveAddress(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("([0-9]+),([0-9]+),([0-9]+),([0-9]+),([0-9]+),([0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    qint64 numbers[6];
    for (int i = 0; i < 6; ++i) {
        const std::optional<qint64> value = number(match.capturedRef(i + 1), 255);
        if (!value)
            return std::nullopt;
        numbers[i] = *value;
    }
    const std::optional<quint16> dataPort = port(numbers[4] * 256 + numbers[5]);
    if (!dataPort)
        return std::nullopt;
    const quint32 host =
        quint32(numbers[0] << 24 | numbers[1] << 16 | numbers[2] << 8 | numbers[3]);
    return PassiveAddress{QHostAddress(host), *dataPort};
}

std::optional<quint16> extendedPassivePort(const QString& text)
{
    const int open = text.indexOf(QLatin1Char('('));
    if (open < 0 || open + 1 >= text.size())
        return std::nullopt;
    const QVector<QStringRef> fields = text.midRef(open + 1).split(text.at(open + 1));
    if (fields.size() < 4)
        return std::nullopt;
    const std::optional<qint64> value = number(fields.at(3), 65535);
    return value ? port(*value) : std::nullopt;
}

std::optional<qint64> fileSize(const QString& text)
{
    const QString digits = text.trimmed();
    return number(QStringRef(&digits), std::numeric_limits<qint64>::max());
}

} // namespace ftpreplyfields
