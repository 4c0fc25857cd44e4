// The analytics queue file as a crash, another program or a full disk may leave it. Restored
// hits are whole and bounded, the file is gone once read, and what is written back reads back
// the same.
#include "analyticsqueuefile.h"
#include "fuzzsupport.h"
#include "quietqt.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
QTemporaryDir* folder = nullptr;

bool sameHits(const QList<QueryBuffer>& a, const QList<QueryBuffer>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (!(a.at(i).postQuery == b.at(i).postQuery) || a.at(i).time != b.at(i).time)
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Local times then have no gaps, so a time read back is the time written.
    qputenv("TZ", "UTC");
    fuzzsupport::startQt(argc, argv);
    // The queue file is written with a sync to disk: in memory that costs nothing.
    const bool inMemory = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    folder = new QTemporaryDir(inMemory ? QStringLiteral("/dev/shm/qx8fuzz-XXXXXX") : QString());
    return folder->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = folder->filePath(QStringLiteral("queue.json"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    const AnalyticsQueueFile queue(path);
    const QList<QueryBuffer> hits = queue.take();
    FUZZ_CHECK(!QFile::exists(path));
    FUZZ_CHECK(hits.size() <= AnalyticsQueueFile::kMaximumHits);
    for (const QueryBuffer& hit : hits)
        FUZZ_CHECK(hit.time.isValid() && !hit.postQuery.isEmpty());

    FUZZ_CHECK(queue.write(hits));
    const QList<QueryBuffer> again = queue.take();
    FUZZ_CHECK(sameHits(again, hits));
    return 0;
}
