#include "regularfile.h"

#include <QFileInfo>

bool RegularFile::mayBeOpened(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() || (!file.exists() && !file.isSymLink());
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
    if (mayBeOpened(fileName()))
        return QFile::open(mode);
    unsetError();
    setErrorString(QStringLiteral("Not a regular file"));
    return false;
}
