#include "localtuningstore.h"

#include "regularfile.h"
#include "safefilename.h"
#include "tuningname.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

namespace {
constexpr QFileDevice::Permissions kFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
    QFileDevice::ReadOther;
} // namespace

const QString LocalTuningStore::factoryRoot = QStringLiteral(":/TuningFiles/Local");

LocalTuningStore::LocalTuningStore(const QString& dataFolder) : m_dataFolder(dataFolder) {}

QString LocalTuningStore::tuningRoot() const
{
    return m_dataFolder + QStringLiteral("/QX8/TuningFiles");
}

QString LocalTuningStore::localFolder(TuningSide side) const
{
    return tuningRoot() + QStringLiteral("/Local") + tuningside::folder(side);
}

QString LocalTuningStore::cloudRoot() const
{
    return m_dataFolder + QStringLiteral("/TuningFiles/Cloud");
}

QString LocalTuningStore::stagingFolder(TuningSide side) const
{
    return cloudRoot() + tuningside::folder(side);
}

QString LocalTuningStore::manifestFolder(TuningSide side) const
{
    return cloudRoot() + QStringLiteral("/Manifest") + tuningside::folder(side);
}

void LocalTuningStore::serializeFactoryTunings()
{
    for (TuningSide side : tuningside::both) {
        for (const QString& folder : {localFolder(side), stagingFolder(side)}) {
            if (!QDir().mkpath(folder))
                qWarning().noquote() << "Cannot create the tuning folder" << folder;
        }
    }
    rescan();
    for (TuningSide side : tuningside::both) {
        TuningCatalog present;
        present.setLocalFiles(side, files(side));
        const QDir factory(factoryRoot + tuningside::folder(side));
        for (const QString& file : factory.entryList(QDir::Files)) {
            if (!present.localFileCorrespondsToRemote(tuningside::folder(side), file).isEmpty())
                continue;
            const QString target = localFolder(side) + QLatin1Char('/') + file;
            QFile source(factory.filePath(file));
            if (!source.copy(target)) {
                qDebug().noquote()
                    << "Cannot copy the factory tuning" << file << ":" << source.errorString();
                continue;
            }
            // Resource files are read-only, and a copy keeps that.
            QFile::setPermissions(target, kFilePermissions);
        }
    }
    rescan();
}

void LocalTuningStore::rescan()
{
    for (TuningSide side : tuningside::both)
        m_files[index(side)] = tuningFilesIn(localFolder(side));
}

QString LocalTuningStore::write(TuningSide side, const QString& fileName,
                                const QByteArray& data) const
{
    const QString path = safefilename::pathInFolder(localFolder(side), fileName);
    if (path.isEmpty())
        return QStringLiteral("Refused to store the tuning file \"%1\": %2.")
            .arg(fileName, safefilename::refusal(fileName));
    RegularSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        return QStringLiteral("Cannot store the tuning file %1: %2").arg(path, file.errorString());
    QFile::setPermissions(path, kFilePermissions);
    return {};
}

QString LocalTuningStore::addOrReplaceLocalFile(TuningSide side, const QString& fileName,
                                                const QByteArray& data,
                                                const QString& replacedFile) const
{
    qDebug().noquote() << "Entered"
                       << "dir" << tuningside::folder(side) << fileName;
    const auto exited = qScopeGuard([] { qDebug() << "Exited"; });
    if (replacedFile.isEmpty()) {
        qDebug().noquote() << " Add cloud file psth - " + localFolder(side) + QLatin1Char('/') +
                                  fileName;
    }
    const QString written = write(side, fileName, data);
    if (!written.isEmpty())
        return written;
    if (!replacedFile.isEmpty() && replacedFile != fileName) {
        QFile old(localFolder(side) + QLatin1Char('/') + replacedFile);
        if (old.exists() && !old.remove())
            return QStringLiteral("Cannot remove the replaced tuning file %1: %2")
                .arg(old.fileName(), old.errorString());
    }
    return {};
}

QString LocalTuningStore::updateCloudFileToLocal(TuningSide side, const QString& fileName,
                                                 const QString& replacedFile) const
{
    qDebug() << "Entered";
    QFile staged(safefilename::pathInFolder(stagingFolder(side), fileName));
    if (!staged.open(QIODevice::ReadOnly)) {
        qDebug() << "Exited";
        return QStringLiteral("Cannot read the cloud tuning file %1: %2")
            .arg(fileName, staged.errorString());
    }
    const QByteArray data = staged.readAll();
    staged.close();
    qDebug() << "Exited";
    const QString failure = addOrReplaceLocalFile(side, fileName, data, replacedFile);
    // In the store, the file leaves the staging folder.
    if (failure.isEmpty() && !staged.remove())
        qDebug().noquote() << "Cannot delete" << staged.fileName() << ":" << staged.errorString();
    return failure;
}

void LocalTuningStore::clearStaging() const
{
    removeDirectoryRecursively(QDir(cloudRoot()));
}

QByteArray LocalTuningStore::read(TuningSide side, const QString& fileName, QString* error) const
{
    const QString path = safefilename::pathInFolder(localFolder(side), fileName);
    RegularFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read the tuning file %1: %2")
                     .arg(fileName,
                          path.isEmpty() ? safefilename::refusal(fileName) : file.errorString());
        return {};
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        *error =
            QStringLiteral("Cannot read the tuning file %1: %2").arg(fileName, file.errorString());
    return data;
}

QStringList tuningFilesIn(const QString& folder)
{
    QStringList files;
    for (const QString& file : QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot)) {
        if (tuningname::isTuningName(file))
            files.append(file);
        else
            qDebug().noquote() << "Not a tuning file name, left alone:" << folder << file;
    }
    files.sort(Qt::CaseInsensitive);
    return files;
}

void removeDirectoryRecursively(const QDir& dir)
{
    if (!dir.exists())
        return;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::System,
                          QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink()) {
            removeDirectoryRecursively(QDir(entry.absoluteFilePath()));
            continue;
        }
        qDebug().noquote() << QStringLiteral("deleting file: %1").arg(entry.absoluteFilePath());
        QFile file(entry.absoluteFilePath());
        // chmod(2) would change what a link leads to.
        if (!entry.isSymLink())
            file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
        if (!file.remove())
            qDebug().noquote() << "Cannot delete" << entry.absoluteFilePath() << ":"
                               << file.errorString();
    }
    qDebug().noquote() << QStringLiteral("deleting directory: %1").arg(dir.absolutePath());
    if (!QDir().rmdir(dir.absolutePath()))
        qDebug().noquote() << "Cannot delete the folder" << dir.absolutePath();
}
