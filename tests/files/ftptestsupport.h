#pragma once

#include "qftp.h"

#include <QByteArray>
#include <QSignalSpy>
#include <QString>

namespace ftptest {

// Waits for the client's done() and tells whether it carried an error.
bool waitForDone(QFtp& ftp, bool* failed = nullptr);

// Reproducible content of the given size (not all one byte, so shifts and gaps show).
QByteArray pattern(int size);

bool writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace ftptest
