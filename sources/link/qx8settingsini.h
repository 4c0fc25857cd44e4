#pragma once

#include <QByteArray>
#include <QSettings>
#include <QStringList>

// The text of a settings file in the syntax of Qt's IniFormat: "[Group]" sections, %-escaped
// keys, quoted and escaped texts, comma-separated lists. Files written by earlier versions through
// Qt's IniFormat read here to the same values, and what is written here Qt reads back the same.
//
// One difference, on purpose: Qt reads "@Variant(...)" and "@DateTime(...)" by running
// QDataStream over bytes from the file, and a damaged or foreign value (a list claiming two
// billion entries) throws std::bad_alloc or builds any registered type before anyone sees it.
// The application never writes those forms, nor Qt's geometry forms; here they are never
// decoded, and their keys are left out.
namespace settingsini {

struct Content
{
    QSettings::SettingsMap values;
    // The keys whose values were in a form the application never writes, left out of `values`.
    QStringList leftOut;
};

// Reads the text as Qt's IniFormat does, line for line, quirks included (text without a UTF-8
// byte-order mark is Latin-1; a later key of the same name wins).
Content parse(const QByteArray& text);

// Writes the values as Qt's IniFormat writes a new file, byte for byte, for texts, numbers,
// flags, byte arrays, invalid values and lists of them. Any other type would need Qt's
// serialized form: its key is left out and named in `leftOut`. A text larger than `sizeLimit`
// bytes is never written: the largest values are left out until it fits, named in `tooLarge`.
QByteArray format(const QSettings::SettingsMap& values, QStringList* leftOut, qint64 sizeLimit,
                  QStringList* tooLarge);

} // namespace settingsini
