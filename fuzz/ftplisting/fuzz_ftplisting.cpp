// Directory listings from the device's FTP server (or anything answering on its port), one
// entry a line, read against two clocks: a leap day and the first hour of a year.
#include "ftplistingparser.h"
#include "fuzzsupport.h"
#include "qurlinfo.h"

namespace {
const QDateTime kLeapDay(QDate(2024, 2, 29), QTime(12, 0));
const QDateTime kNewYear(QDate(2023, 1, 1), QTime(0, 30));
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const std::string_view bytes : fuzzsupport::lines(data, size)) {
        const QByteArray line(bytes.data(), int(bytes.size()));
        for (const QDateTime& now : {kLeapDay, kNewYear}) {
            QUrlInfo info;
            if (!FtpListingParser::parse(line, QStringLiteral("qx8ftp"), &info, now))
                continue;
            FUZZ_CHECK(!info.name().isEmpty());
            FUZZ_CHECK(info.size() >= 0);
            FUZZ_CHECK(info.isDir() != info.isFile());
        }
    }
    return 0;
}
