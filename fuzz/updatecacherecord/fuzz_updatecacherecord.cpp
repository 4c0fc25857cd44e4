// The update cache's record of its complete image as a crash, another program or a hostile hand
// may leave it: an image is offered only when the record names a plain file of the cache with
// the size recorded, and a record read back from its own text is the same.
#include "fuzzsupport.h"
#include "quietqt.h"
#include "safefilename.h"
#include "updatecache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
QTemporaryDir* folder = nullptr;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzsupport::startQt(argc, argv);
    const bool inMemory = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    folder = new QTemporaryDir(inMemory ? QStringLiteral("/dev/shm/qx8fuzz-XXXXXX") : QString());
    if (!folder->isValid())
        return 1;
    // Images a record may name, and one beside the folder that no record may reach.
    QDir(folder->path()).mkdir(QStringLiteral("cache"));
    writeFile(folder->filePath(QStringLiteral("cache/2.5.0")), QByteArray(10, 'i'));
    writeFile(folder->filePath(QStringLiteral("cache/1.1.7.dmg")), QByteArray());
    writeFile(folder->filePath(QStringLiteral("outside")), QByteArray(3, 'o'));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const UpdateCache::Record record = UpdateCache::parseRecord(bytes);
    FUZZ_CHECK(record.size >= -1);
    if (record.size >= 0) {
        const UpdateCache::Record again =
            UpdateCache::parseRecord(UpdateCache::formatRecord(record));
        FUZZ_CHECK(again.name == record.name && again.size == record.size);
    } else {
        FUZZ_CHECK(record.name.isEmpty());
    }

    const QString cacheFolder = folder->filePath(QStringLiteral("cache"));
    writeFile(cacheFolder + QStringLiteral("/.complete"), bytes);
    const UpdateCache cache(cacheFolder, QString());
    const QString name = cache.completeImageName();
    if (!name.isEmpty()) {
        FUZZ_CHECK(safefilename::isSafe(name));
        const QFileInfo image(QDir(cacheFolder).filePath(name));
        FUZZ_CHECK(image.isFile() && image.absolutePath() == QDir(cacheFolder).absolutePath());
        FUZZ_CHECK(image.size() ==
                   UpdateCache::parseRecord(bytes.left(UpdateCache::kMaximumRecordSize)).size);
    }
    return 0;
}
