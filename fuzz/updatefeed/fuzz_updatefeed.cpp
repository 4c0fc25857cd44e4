// The update feed as any server answering at the cloud address may send it. Whatever it holds,
// an offered update is newer than the own version and names a file of its own in the cache.
#include "fuzzsupport.h"
#include "safefilename.h"
#include "updatefeed.h"

namespace {

void checkRows(const QStringList& rows)
{
    const QString ownVersion = QStringLiteral("1.1.4");
    const updatefeed::Latest latest = updatefeed::latest(rows, ownVersion);
    if (latest.imageUrl.isEmpty())
        return;
    FUZZ_CHECK(latest.version != ownVersion);
    FUZZ_CHECK(safefilename::isSafe(latest.version));
    FUZZ_CHECK(updatefeed::isFirstGreaterThanSecond(latest.version, ownVersion));
    FUZZ_CHECK(!updatefeed::isFirstGreaterThanSecond(ownVersion, latest.version));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray feed(reinterpret_cast<const char*>(data), int(size));
    for (const auto product : {updatefeed::Product::Application, updatefeed::Product::Firmware}) {
        if (const std::optional<QStringList> rows = updatefeed::rows(feed, product))
            checkRows(*rows);
    }
    return 0;
}
