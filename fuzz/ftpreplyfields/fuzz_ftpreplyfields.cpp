// The fields of a reply's text that the FTP interpreter acts on: the passive-mode address (227),
// the extended passive port (229) and the size of a file (213). Whatever the server writes, a
// field is in range or absent, and a field read back from its own text is the same.
#include "ftpreplyfields.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), int(size));

    if (const auto passive = ftpreplyfields::passiveAddress(text)) {
        FUZZ_CHECK(passive->host.protocol() == QAbstractSocket::IPv4Protocol);
        FUZZ_CHECK(passive->port >= 1);
        const quint32 host = passive->host.toIPv4Address();
        const QString again = QStringLiteral("Entering Passive Mode (%1,%2,%3,%4,%5,%6).")
                                  .arg(host >> 24)
                                  .arg((host >> 16) & 0xff)
                                  .arg((host >> 8) & 0xff)
                                  .arg(host & 0xff)
                                  .arg(passive->port / 256)
                                  .arg(passive->port % 256);
        const auto reread = ftpreplyfields::passiveAddress(again);
        FUZZ_CHECK(reread && reread->host == passive->host && reread->port == passive->port);
    }

    if (const auto port = ftpreplyfields::extendedPassivePort(text)) {
        FUZZ_CHECK(*port >= 1);
        const auto reread = ftpreplyfields::extendedPassivePort(
            QStringLiteral("Entering Extended Passive Mode (|||%1|)").arg(*port));
        FUZZ_CHECK(reread == port);
    }

    if (const auto fileSize = ftpreplyfields::fileSize(text)) {
        FUZZ_CHECK(*fileSize >= 0);
        FUZZ_CHECK(ftpreplyfields::fileSize(QString::number(*fileSize)) == fileSize);
    }
    return 0;
}
