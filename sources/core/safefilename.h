#pragma once

#include <QString>

// The one check that every file name from the device, a cloud manifest, the update feed or the
// user passes before it touches the disk.
namespace safefilename {

// True when `name` is one plain file name: not empty, no path separator ('/' or '\'), no NUL or
// other control character, not "." or "..", not hidden (no leading '.'). The same holds for
// every percent-decoded form of it, so "..%2F" cannot become a path further down the line.
bool isSafe(const QString& name);

// The absolute path of `name` inside `folder`, or an empty text when the name is not safe or
// the path would lead out of the folder (through a symbolic link already there, for example).
QString pathInFolder(const QString& folder, const QString& name);

// Why pathInFolder() gives no path for `name`: "not a plain file name", or for a plain name "Not
// a regular file", as what lies under it is a link that leads out of the folder.
QString refusal(const QString& name);

} // namespace safefilename
