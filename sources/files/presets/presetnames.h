#pragma once

#include <QString>

// What the device takes as a preset number and a preset name, checked before any console or
// FTP line is built from them, and where a slot lies on the device's FTP server.
namespace presetnames {

// "/presets", the folder of the slot files.
extern const QString deviceFolder;

// 1 to 100, written plainly ("7", not "07", " 7" or "+7").
bool isValidId(const QString& id);

// Not empty; only letters A-Z and a-z, digits, blanks and ! # $ % & ' ( ) + , - . = @ [ ] ^ _
// { } ~ and the backslash (what the name fields of the screens accept). So no quote or line
// break can reach a console line.
bool isValidName(const QString& name);

// "Preset_<id>.preset", the slot's file in deviceFolder.
QString slotFile(const QString& id);

} // namespace presetnames
