#include "downloadlimits.h"

#include <QLocale>

namespace downloadlimits {

std::optional<qint64> contentLength(const QByteArray& headerValue)
{
    const QByteArray digits = headerValue.mid(headerValue.lastIndexOf(',') + 1).trimmed();
    if (digits.isEmpty())
        return std::nullopt;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    bool ok = false;
    const qint64 length = digits.toLongLong(&ok);
    return ok ? std::optional<qint64>(length) : std::nullopt;
}

QString sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 bytes").arg(bytes);
    qint64 unit = 1024;
    while (bytes / unit >= 1024)
        unit *= 1024;
    // Whole units read best; a fraction shows, so that 65535 bytes is not "64 KiB".
    return QLocale::c().formattedDataSize(bytes, bytes % unit == 0 ? 0 : 1);
}

} // namespace downloadlimits
