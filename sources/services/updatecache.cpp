#include "updatecache.h"

#include "safefilename.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

void UpdateCache::keepOnly(const QString& version) const
{
    const QFileInfo image(imagePath(version));
    QSaveFile record(recordPath());
    const bool recorded = image.isFile() && record.open(QIODevice::WriteOnly) &&
                          record.write(image.fileName().toUtf8() + '\n' +
                                       QByteArray::number(image.size()) + '\n') > 0 &&
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
    QFile file(recordPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 2)
        return {};
    return {QString::fromUtf8(lines.at(0)), lines.at(1).toLongLong()};
}
