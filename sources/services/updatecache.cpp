#include "updatecache.h"

#include "safefilename.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

const QString kPartialSuffix = QStringLiteral(".tmp");
// Hidden: a listing of the cache leaves it out, as it leaves out every hidden file.
const QString kRecordName = QStringLiteral(".complete");

QStringList fileNames(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::Unsorted);
    names.sort(Qt::CaseSensitive);
    return names;
}

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
    const QString path = imagePath(version);
    const QFileInfo image(path);
    if (path.isEmpty() || !image.isFile())
        return false;
    QFile record(recordPath());
    if (!record.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = record.readAll().split('\n');
    return lines.size() >= 2 && QString::fromUtf8(lines.at(0)) == image.fileName() &&
           lines.at(1).toLongLong() == image.size();
}

QString UpdateCache::lastImageName() const
{
    QStringList names = fileNames(m_folder);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString& name) { return name.endsWith(kPartialSuffix); }),
                names.end());
    if (names.isEmpty() || !hasImage(versionOf(names.last())))
        return {};
    return names.last();
}

QString UpdateCache::versionOf(const QString& imageName) const
{
    return imageName.endsWith(m_suffix) ? imageName.chopped(m_suffix.size()) : imageName;
}

bool UpdateCache::prepare() const
{
    return QDir().mkpath(m_folder);
}

void UpdateCache::keepOnly(const QString& version) const
{
    const QString path = imagePath(version);
    const QFileInfo image(path);
    QSaveFile record(recordPath());
    if (path.isEmpty() || !image.isFile() || !record.open(QIODevice::WriteOnly)) {
        qWarning().noquote() << "Could not record the downloaded image" << path << ":"
                             << record.errorString();
        return;
    }
    record.write(image.fileName().toUtf8() + '\n' + QByteArray::number(image.size()) + '\n');
    if (!record.commit()) {
        qWarning().noquote() << "Could not record the downloaded image" << path << ":"
                             << record.errorString();
        return;
    }
    for (const QString& name : fileNames(m_folder)) {
        if (name != image.fileName())
            removeFile(QDir(m_folder).filePath(name));
    }
}

void UpdateCache::clear() const
{
    for (const QString& name : fileNames(m_folder))
        removeFile(QDir(m_folder).filePath(name));
    if (QFileInfo::exists(recordPath()))
        removeFile(recordPath());
}

QString UpdateCache::recordPath() const
{
    return QDir(m_folder).filePath(kRecordName);
}
