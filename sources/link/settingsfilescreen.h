#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Qt reads a settings value written as "@Variant(...)" or "@DateTime(...)" by deserializing it,
// and a damaged or foreign one makes it ask for gigabytes or build any registered type before
// the application sees a thing. The application writes neither form (its values are texts, flags
// and numbers), so such entries are taken out of a settings file before Qt reads it.
//
// The file is read as Qt reads it, but generously: escapes decoded, quotes dropped, every text
// after "=" or "," taken for the start of a value, continued lines read both joined and alone.
// What Qt would deserialize is always found; an entry only looking like one may go with it.
namespace settingsfilescreen {

// Removes such entries (all lines of each) from the file, rewriting it in place under the lock
// QSettings takes. Returns the removed entries' first lines, empty when there were none (or when
// the file could not be read or rewritten, which is reported).
QList<QByteArray> removeSerializedValues(const QString& fileName);

} // namespace settingsfilescreen
