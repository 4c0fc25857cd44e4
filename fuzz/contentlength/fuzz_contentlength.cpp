// The Content-Length header as a server, or a redirect's header joined to it, may send it: a
// length is read only from digits, is never negative, and is the number those digits spell.
#include "downloadlimits.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray header(reinterpret_cast<const char*>(data), int(size));
    const std::optional<qint64> length = downloadlimits::contentLength(header);
    if (!length)
        return 0;
    FUZZ_CHECK(*length >= 0);
    QByteArray digits = header.mid(header.lastIndexOf(',') + 1).trimmed();
    while (digits.size() > 1 && digits.startsWith('0'))
        digits.remove(0, 1);
    FUZZ_CHECK(QByteArray::number(*length) == digits);
    FUZZ_CHECK(downloadlimits::contentLength("0, " + digits) == length);
    FUZZ_CHECK(!downloadlimits::sizeText(*length).isEmpty());
    return 0;
}
