#include "ftptestsupport.h"

#include "testharness.h"

#include <QFile>
#include <QTest>

namespace ftptest {

bool waitForDone(QFtp& ftp, bool* failed)
{
    QSignalSpy spy(&ftp, &QFtp::done);
    if (!spy.wait(qx8test::timeoutMs()))
        return false;
    if (failed)
        *failed = spy.first().first().toBool();
    return true;
}

QByteArray pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = 2463534242u;
    for (int i = 0; i < size; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes[i] = char(state);
    }
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace ftptest
