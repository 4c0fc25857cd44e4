#include "regularfile.h"

#include <QFileInfo>

bool RegularFile::mayBeOpened(const QString& path)
{
    return QFileInfo(path).isFile() || !isTaken(path);
}

bool RegularFile::mayBeWritten(const QString& path)
{
    return !QFileInfo(path).isSymLink() && mayBeOpened(path);
}

bool RegularFile::isTaken(const QString& path)
{
    const QFileInfo file(path);
    return file.exists() || file.isSymLink();
}

QString RegularFile::unreadableLock(const QString& lockPath)
{
    for (const QString& path : {lockPath, lockPath + QStringLiteral(".rmlock")}) {
        if (!mayBeOpened(path))
            return path;
    }
    return QString();
}

bool RegularFile::open(OpenMode mode)
{
    if (mode & (WriteOnly | Append) ? mayBeWritten(fileName()) : mayBeOpened(fileName()))
        return QFile::open(mode);
    unsetError();
    setErrorString(QStringLiteral("Not a regular file"));
    return false;
}

bool RegularSaveFile::open(OpenMode mode)
{
    if (QFileInfo(fileName()).isSymLink()) {
        QFile link(fileName());
        if (!link.remove()) {
            setErrorString(link.errorString());
            return false;
        }
    }
    return QSaveFile::open(mode);
}
