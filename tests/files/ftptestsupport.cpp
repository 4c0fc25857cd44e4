#include "ftptestsupport.h"

#include "ftpserverprocess.h"
#include "testharness.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>

namespace ftptest {

namespace {

bool waitForDone(QFtp& ftp, bool expectError)
{
    QSignalSpy spy(&ftp, &QFtp::done);
    if (!spy.wait(qx8test::timeoutMs())) {
        qWarning("no done() from the FTP client");
        return false;
    }
    const bool error = spy.first().first().toBool();
    if (error != expectError)
        qWarning("FTP client ended %s: %s", error ? "with an error" : "without an error",
                 qPrintable(ftp.errorString()));
    return error == expectError;
}

} // namespace

bool succeeds(QFtp& ftp)
{
    return waitForDone(ftp, false);
}

bool fails(QFtp& ftp)
{
    return waitForDone(ftp, true);
}

bool logIn(QFtp& ftp, const FtpServerProcess& server)
{
    ftp.connectToHost(server.address(), server.port());
    ftp.login(FtpServerProcess::user, FtpServerProcess::password);
    return succeeds(ftp) && ftp.state() == QFtp::LoggedIn;
}

QByteArray pattern(int size)
{
    QVector<quint32> words((size + 3) / 4);
    QRandomGenerator(quint32(size)).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.constData()), size);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace ftptest
