#include "datafolders.h"

#include <QStandardPaths>

QString strLogDir =
    QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/yoxl/QX8";
std::string USER_PATH;
QString g_genericDataLocation;
