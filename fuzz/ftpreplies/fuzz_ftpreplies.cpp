// The FTP control connection's replies, line by line as the interpreter reads them.
#include "ftpreplyreader.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FtpReplyReader reader;
    QString firstLine;
    for (const std::string_view bytes : fuzzsupport::lines(data, size)) {
        const QString line = QString::fromLatin1(bytes.data(), int(bytes.size()));
        if (firstLine.isEmpty())
            firstLine = line;
        switch (reader.addLine(line)) {
        case FtpReplyReader::Result::Dropped:
            firstLine.clear();
            break;
        case FtpReplyReader::Result::Partial:
            break;
        case FtpReplyReader::Result::Complete:
            FUZZ_CHECK(reader.code() >= 100 && reader.code() <= 559);
            FUZZ_CHECK(reader.firstDigit() == reader.code() / 100);
            FUZZ_CHECK(firstLine.leftRef(3).toInt() == reader.code());
            FUZZ_CHECK(reader.text().size() <= FtpReplyReader::maximumTextLength);
            reader.clear();
            firstLine.clear();
            break;
        case FtpReplyReader::Result::TooLong:
            return 0; // the interpreter drops the connection
        }
    }
    return 0;
}
