// The device's name listing as the FTP worker splits it into entries: every byte up to the first
// NUL is in exactly one entry, and no entry holds a line end or a NUL.
#include "ftpnamelist.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray listing(reinterpret_cast<const char*>(data), int(size));
    const QStringList entries = ftpnamelist::entries(listing);
    FUZZ_CHECK(!entries.isEmpty());
    for (const QString& entry : entries)
        FUZZ_CHECK(!entry.contains(QLatin1Char('\n')) && !entry.contains(QChar(0)));

    const int end = listing.indexOf('\0');
    QString text = QString::fromUtf8(end < 0 ? listing : listing.left(end));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    FUZZ_CHECK(entries.join(QLatin1Char('\n')) == text);
    return 0;
}
