#pragma once

#include "settingskeys.h"

#include <QSettings>
#include <QString>

// The two settings stores on disk, in their usual place and syntax but through the application's
// own reader (qx8settingsini.h), registered with QSettings: nothing in them is deserialized, and
// QSettings' lock and atomic rewrite still guard concurrent writers. Every file written is its
// owner's alone (it holds the device password). A file that is not a regular file, or is larger
// than the application ever writes, is neither read nor replaced.
namespace settingsstore {

// The largest store file read or replaced; the application's own stay far below it.
constexpr qint64 kLargestFile = 4 * 1024 * 1024;

// The store, opened in that format.
QSettings open(const settingskeys::Store& store);

// Where the store's file lies, known without opening it.
QString fileName(const settingskeys::Store& store);

// Moves a store file that must not be read aside, beside it (never deleted), so that the run
// starts from the defaults, with a warning; says in the warning when it could not be moved.
void setAsideIfUnreadable(const settingskeys::Store& store);

// Removes the store's lock file. A process killed while it wrote the settings can leave an empty
// lock behind, and QSettings then waits 30 s for it to age before the next write. Only for the
// one instance that holds the single-instance lock, as nothing else writes these stores.
void removeLeftoverLock(const settingskeys::Store& store);

} // namespace settingsstore
