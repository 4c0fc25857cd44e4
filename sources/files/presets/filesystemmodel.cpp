#include "filesystemmodel.h"

#include "datafolders.h"
#include "regularfile.h"
#include "safefilename.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryFile>

#include <limits>

FileSystemModel::FileSystemModel(QObject* parent)
    : FileSystemModel(QString::fromStdString(USER_PATH) + QStringLiteral("/QX8/Presets"), parent)
{
}

FileSystemModel::FileSystemModel(const QString& folder, QObject* parent)
    : QAbstractListModel(parent), m_folder(QDir(folder).absolutePath())
{
    qDebug().noquote() << "downloading location is:" << m_folder;
    if (!QDir().mkpath(m_folder))
        qWarning().noquote() << "Cannot create the preset folder" << m_folder;
}

int FileSystemModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_names.size();
}

QVariant FileSystemModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size() || role != ModelPresetName)
        return {};
    return m_names.at(index.row());
}

QHash<int, QByteArray> FileSystemModel::roleNames() const
{
    return {{ModelPresetName, "ModelPresetName"}};
}

void FileSystemModel::clearModel()
{
    qDebug() << "Refreshing file system model";
    beginResetModel();
    m_names.clear();
    endResetModel();
}

// The folder's files arrive in one insertion: thousands of files cost one notification, not one
// each.
void FileSystemModel::populateModel()
{
    clearModel();
    const QStringList names = QDir(m_folder).entryList(QDir::Files | QDir::NoDotAndDotDot);
    if (names.isEmpty())
        return;
    beginInsertRows(QModelIndex(), 0, names.size() - 1);
    m_names = names;
    endInsertRows();
}

void FileSystemModel::addPreset(const QString& PresetData)
{
    beginInsertRows(QModelIndex(), m_names.size(), m_names.size());
    m_names.append(PresetData);
    endInsertRows();
}

void FileSystemModel::addPresetToFileSystem(const QString& fileName, const QByteArray& presetConfig)
{
    Q_EMIT busy(true, QStringLiteral("Adding preset to file system..."));
    const QString path = pathOf(fileName, QStringLiteral("save"));
    QString reason;
    if (path.isEmpty()) {
        // refused and reported
    } else if (RegularFile::isTaken(path)) {
        fail(QStringLiteral("Skipping Overwrite of ") + fileName,
             QStringLiteral("A preset named \"%1\" already exists.").arg(fileName));
    } else if (!writeNewFile(path, presetConfig, &reason)) {
        fail(QStringLiteral("File open failed: ") + reason,
             QStringLiteral("Could not save the preset \"%1\": %2").arg(fileName, reason));
    } else {
        populateModel();
    }
    busyOff();
}

// Written beside the target under a hidden temporary name, then renamed into place; the
// rename refuses to replace a file that appeared meanwhile. A short write leaves nothing.
bool FileSystemModel::writeNewFile(const QString& path, const QByteArray& bytes,
                                   QString* reason) const
{
    QTemporaryFile file(m_folder + QStringLiteral("/.preset-XXXXXX"));
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        *reason = file.errorString();
        return false;
    }
    file.close();
    if (!file.rename(path)) {
        *reason = file.errorString();
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

void FileSystemModel::copy(const QString& fromFile, const QString& toFile)
{
    Q_EMIT busy(true, QStringLiteral("Copying preset to file system..."));
    QByteArray bytes;
    if (readPreset(fromFile, &bytes))
        addPresetToFileSystem(toFile, bytes);
    else
        busyOff();
}

// Once the rename was tried, its outcome ends with the file's error code in the log.
void FileSystemModel::rename(const QString& fileName, const QString& newName)
{
    Q_EMIT busy(true, QStringLiteral("Renaming preset..."));
    QFile file;
    const QString target = renameTarget(fileName, newName, file);
    if (target.isEmpty()) {
        busyOff();
        return;
    }
    if (file.rename(target)) {
        qDebug() << "Rename file successful";
        updateNameInConfig(newName);
    } else {
        fail(QStringLiteral("Rename failed: ") + file.errorString(),
             QStringLiteral("Could not rename \"%1\": %2").arg(fileName, file.errorString()));
    }
    busyOff();
    qDebug().nospace() << "Error : " << int(file.error());
}

// The path `fileName` may be renamed to, with `file` set to it; empty (reported) when it may not.
QString FileSystemModel::renameTarget(const QString& fileName, const QString& newName, QFile& file)
{
    const QString from = pathOf(fileName, QStringLiteral("rename"));
    const QString to = from.isEmpty() ? QString() : pathOf(newName, QStringLiteral("rename to"));
    if (to.isEmpty())
        return QString();
    if (RegularFile::isTaken(to)) {
        fail(QStringLiteral("Rename failed: ") + newName + QStringLiteral(" exists"),
             QStringLiteral("A preset named \"%1\" already exists.").arg(newName));
        return QString();
    }
    qDebug() << "Renaming in progress...";
    file.setFileName(from);
    if (!file.exists()) {
        fail(QStringLiteral("File open failed: ") + fileName + QStringLiteral(" is missing"),
             QStringLiteral("The preset \"%1\" does not exist.").arg(fileName));
        return QString();
    }
    return to;
}

void FileSystemModel::updateNameInConfig(const QString& name)
{
    qDebug() << "renaming preset done";
    populateModel();
    Q_EMIT indexOfEditedPreset(m_names.indexOf(name));
}

void FileSystemModel::deletePreset(const QString& deleteFile)
{
    Q_EMIT busy(true, QStringLiteral("Deleting preset..."));
    const QString path = pathOf(deleteFile, QStringLiteral("delete"));
    QFile file(path);
    const bool removed = !path.isEmpty() && file.remove();
    if (!path.isEmpty() && !removed)
        fail(QStringLiteral("Delete failed: ") + file.errorString(),
             QStringLiteral("Could not delete \"%1\": %2").arg(deleteFile, file.errorString()));
    populateModel();
    busyOff();
    if (removed)
        Q_EMIT presetDeleted(deleteFile);
}

void FileSystemModel::transfer(const QString& transferFileName)
{
    QByteArray bytes;
    if (!readPreset(transferFileName, &bytes))
        return;
    if (bytes.isEmpty()) {
        fail(QStringLiteral("Config data:empty"),
             QStringLiteral("The preset \"%1\" is empty.").arg(transferFileName));
        return;
    }
    Q_EMIT presetAvailable(bytes);
}

bool FileSystemModel::readPreset(const QString& name, QByteArray* bytes)
{
    const QString path = pathOf(name, QStringLiteral("read"));
    if (path.isEmpty())
        return false;
    RegularFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("File open failed: ") + file.errorString(),
             file.exists()
                 ? QStringLiteral("Could not read \"%1\": %2").arg(name, file.errorString())
                 : QStringLiteral("The preset \"%1\" does not exist.").arg(name));
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        fail(QStringLiteral("Read failed: ") + file.errorString(),
             QStringLiteral("Could not read \"%1\": %2").arg(name, file.errorString()));
        return false;
    }
    return true;
}

QString FileSystemModel::availablePresetName(const QString& str) const
{
    const QSet<QString> taken(m_names.begin(), m_names.end());
    QString candidate = str;
    while (taken.contains(candidate)) {
        const int blank = candidate.lastIndexOf(QLatin1Char(' '));
        bool isNumber = false;
        const qlonglong number = candidate.mid(blank + 1).toLongLong(&isNumber);
        if (isNumber && number < std::numeric_limits<qlonglong>::max())
            candidate =
                candidate.left(qMax(blank, 0)) + QLatin1Char(' ') + QString::number(number + 1);
        else
            candidate += QStringLiteral(" 2");
    }
    return candidate;
}

bool FileSystemModel::isValidFileName(const QString& name) const
{
    return safefilename::isSafe(name);
}

QString FileSystemModel::pathOf(const QString& name, const QString& action)
{
    const QString path = safefilename::pathInFolder(m_folder, name);
    if (!path.isEmpty())
        return path;
    if (safefilename::isSafe(name))
        fail(QStringLiteral("Refused preset file: %1 leads out of the folder").arg(name),
             QStringLiteral("Could not %1 \"%2\": %3")
                 .arg(action, name, safefilename::refusal(name)));
    else
        fail(QStringLiteral("Refused preset file name: ") + name,
             QStringLiteral("\"%1\" cannot name a preset file.").arg(name));
    return path;
}

// Quoted in the log, so that a line break in a name cannot start a log line of its own.
void FileSystemModel::fail(const QString& logText, const QString& message)
{
    qInfo() << logText;
    Q_EMIT error(message);
}

void FileSystemModel::busyOff()
{
    Q_EMIT busy(false, QString());
}
