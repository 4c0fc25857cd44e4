#include "ftpnamelist.h"

namespace ftpnamelist {

QStringList entries(const QByteArray& listing)
{
    const int end = listing.indexOf('\0');
    QString text = QString::fromUtf8(end < 0 ? listing : listing.left(end));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text.split(QLatin1Char('\n'));
}

} // namespace ftpnamelist
