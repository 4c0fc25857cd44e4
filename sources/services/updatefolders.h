#pragma once

#include <QString>

// Where the updaters keep their downloaded images, below the user's data folder.
namespace updatefolders {

// The application's disk images: <data>/QX8/Download/AppUpdate.
QString applicationImages();
// The firmware images, which the firmware upload reads too: <data>/QX8/update.
QString firmwareImages();

} // namespace updatefolders
