#pragma once

#include "tuningcatalog.h"

#include <QByteArray>
#include <QStringList>
#include <QUrl>

// The cloud's tuning containers: one per side, "-test" ones in validation mode, each with a
// "Manifest" of file names, one a line, under the cloud base address.
namespace cloudmanifest {

QUrl manifestUrl(TuningSide side, bool validationMode);
QUrl fileUrl(TuningSide side, bool validationMode, const QString& name);

// The tuning names of a manifest: the bytes up to the first NUL as Latin-1, one name a line
// (CR LF or LF), blank lines and names that break the naming rule left out, and of several
// stamps of one name only the newest.
QStringList names(const QByteArray& manifest);

// The names of `manifest` that the local store lacks or holds only in an older version.
QStringList newerThanLocal(const QStringList& names, TuningSide side, const TuningCatalog& catalog);

} // namespace cloudmanifest
