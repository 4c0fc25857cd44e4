#pragma once

#include <QByteArray>
#include <QStringList>

// The device's answer to a name listing (NLST): one name a line.
namespace ftpnamelist {

// The bytes up to the first NUL, as UTF-8, split at line ends (LF or CR LF); empty entries are
// kept, so a listing ending in a line end gives an empty last entry.
QStringList entries(const QByteArray& listing);

} // namespace ftpnamelist
