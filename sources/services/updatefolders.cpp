#include "updatefolders.h"

#include "datafolders.h"

#include <QStandardPaths>

namespace updatefolders {

namespace {

// Start-up fixes the data folder; before that (and in tools) it is the platform's.
QString dataFolder()
{
    return USER_PATH.empty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                             : QString::fromStdString(USER_PATH);
}

} // namespace

QString applicationImages()
{
    return dataFolder() + QStringLiteral("/QX8/Download/AppUpdate");
}

QString firmwareImages()
{
    return dataFolder() + QStringLiteral("/QX8/update");
}

} // namespace updatefolders
