#include "updatecache.h"

#include "httptransfer.h"
#include "regularfile.h"
#include "safefilename.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

// Hidden: a listing of the cache leaves it out, as it leaves out every hidden file.
const QString kRecordName = QStringLiteral(".complete");

void removeFile(const QString& path)
{
    QFile file(path);
    if (!file.remove())
        qWarning().noquote() << "Could not delete" << path << ":" << file.errorString();
}

} // namespace

UpdateCache::UpdateCache(const QString& folder, const QString& suffix)
    : m_folder(folder), m_suffix(suffix)
{
}

QString UpdateCache::imagePath(const QString& version) const
{
    if (version.isEmpty())
        return {};
    return safefilename::pathInFolder(m_folder, version + m_suffix);
}

bool UpdateCache::hasImage(const QString& version) const
{
    const QFileInfo image(imagePath(version));
    const Record record = readRecord();
    return image.isFile() && record.name == image.fileName() && record.size == image.size();
}

QString UpdateCache::completeImageName() const
{
    const QString name = readRecord().name;
    return hasImage(versionOf(name)) ? name : QString();
}

QString UpdateCache::versionOf(const QString& imageName) const
{
    return imageName.endsWith(m_suffix) ? imageName.chopped(m_suffix.size()) : imageName;
}

void UpdateCache::prepare() const
{
    QDir().mkpath(m_folder);
}

void UpdateCache::clearPartial(const QString& version) const
{
    const QString image = imagePath(version);
    if (image.isEmpty())
        return;
    const QString partial = HttpTransfer::partialPath(image);
    std::error_code failure;
    std::filesystem::remove_all(QFile::encodeName(partial).toStdString(), failure);
    if (failure)
        qWarning().noquote() << "Could not delete" << partial << ":"
                             << QString::fromStdString(failure.message());
}

void UpdateCache::keepOnly(const QString& version) const
{
    const QFileInfo image(imagePath(version));
    RegularSaveFile record(recordPath());
    const bool recorded = image.isFile() && record.open(QIODevice::WriteOnly) &&
                          record.write(formatRecord({image.fileName(), image.size()})) > 0 &&
                          record.commit();
    if (!recorded) {
        qWarning().noquote() << "Could not record the downloaded image" << image.filePath() << ":"
                             << record.errorString();
        return;
    }
    const QStringList names = QDir(m_folder).entryList(QDir::Files);
    for (const QString& name : names) {
        if (name != image.fileName())
            removeFile(QDir(m_folder).filePath(name));
    }
}

void UpdateCache::clear() const
{
    const QStringList names = QDir(m_folder).entryList(QDir::Files);
    for (const QString& name : names)
        removeFile(QDir(m_folder).filePath(name));
    if (QFileInfo::exists(recordPath()))
        removeFile(recordPath());
}

QString UpdateCache::recordPath() const
{
    return QDir(m_folder).filePath(kRecordName);
}

UpdateCache::Record UpdateCache::readRecord() const
{
    RegularFile file(recordPath());
    return file.open(QIODevice::ReadOnly) ? parseRecord(file.read(kMaximumRecordSize)) : Record();
}

QByteArray UpdateCache::formatRecord(const Record& record)
{
    return record.name.toUtf8() + '\n' + QByteArray::number(record.size) + '\n';
}

UpdateCache::Record UpdateCache::parseRecord(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    bool isNumber = false;
    const qint64 size = lines.value(1).toLongLong(&isNumber);
    if (lines.size() < 2 || !isNumber || size < 0)
        return {};
    return {QString::fromUtf8(lines.at(0)), size};
}
