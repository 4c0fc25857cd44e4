#include "regularfile.h"

#include <QFileInfo>

bool RegularFile::mayBeOpened(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() || (!file.exists() && !file.isSymLink());
}

bool RegularFile::open(OpenMode mode)
{
    if (mayBeOpened(fileName()))
        return QFile::open(mode);
    unsetError();
    setErrorString(QStringLiteral("Not a regular file"));
    return false;
}
