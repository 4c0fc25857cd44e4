#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

// The naming rule of tuning files: name fields, then five stamp fields (year, month, day, hour,
// minute, unpadded), all joined by '_', then a suffix after the last '.'. Everything the
// application knows about a tuning comes from its file name.
namespace tuningname {

// The five stamp numbers in order. Compared as a tuple, so hour 24 and local times that do not
// exist (daylight-saving gaps) still order as written.
using Stamp = std::array<int, 5>;

// Fields are the base name (without the last suffix) split at '_', empty fields kept.
QString fileName(const QString& file);        // the name fields joined, or empty (< 6 fields)
QString timeStampString(const QString& file); // the last five fields as written, or empty
QDateTime timeStamp(const QString& file);     // local date and time; invalid where no such time
QString suffix(const QString& file);          // the text after the last '.'
std::optional<Stamp> stamp(const QString& file);

// True when the stamp of `a` is earlier than the stamp of `b`; a file without a stamp is earlier
// than any file with one.
bool isEarlier(const QString& a, const QString& b);

// True for a name that follows the rule: six fields or more, the last five decimal numbers, a
// suffix, and safe as a file name (no path, control character or leading '.').
bool isTuningName(const QString& file);

} // namespace tuningname
