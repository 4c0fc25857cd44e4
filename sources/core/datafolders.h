#pragma once

#include <QString>
#include <string>

// Folders every subsystem derives its files from. strLogDir is fixed before main runs; the
// other two are set by start-up before any other code reads them.
extern QString strLogDir;             // <generic data location>/yoxl/QX8, holds ui.log
extern std::string USER_PATH;         // the generic data location, UTF-8
extern QString g_genericDataLocation; // the log folder; the analytics queue lies under it
