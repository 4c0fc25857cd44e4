#pragma once

#include "qftp.h"

#include <QByteArray>
#include <QString>

class FtpServerProcess;

namespace ftptest {

// Wait for the client's done(): true when it came and carried no error (succeeds) or an error
// (fails). An unexpected outcome is logged with the client's error text.
bool succeeds(QFtp& ftp);
bool fails(QFtp& ftp);

// Queues connect and login with the test user and tells whether both succeeded.
bool logIn(QFtp& ftp, const FtpServerProcess& server);

// Reproducible content of the given size (not all one byte, so shifts and gaps show).
QByteArray pattern(int size);

bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace ftptest
