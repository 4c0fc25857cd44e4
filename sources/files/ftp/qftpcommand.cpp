#include "qftpcommand.h"

#include <QAtomicInt>

int QFtpCommand::nextId()
{
    // Shared by every client in the process, so ids are never reused while it runs.
    static QAtomicInt counter(1);
    return counter.fetchAndAddRelaxed(1);
}

QFtpCommand::QFtpCommand(QFtp::Command command, const QStringList& rawCommands,
                         const QByteArray& bytes)
    : id(nextId())
    , command(command)
    , rawCommands(rawCommands)
    , bytes(bytes)
    , device(nullptr)
    , isBytes(true)
{
}

QFtpCommand::QFtpCommand(QFtp::Command command, const QStringList& rawCommands, QIODevice* device)
    : id(nextId()), command(command), rawCommands(rawCommands), device(device), isBytes(false)
{
}

bool QFtpCommand::hasLineBreakInArgument() const
{
    // These two hold a host and a port, not lines.
    if (command == QFtp::ConnectToHost || command == QFtp::SetProxy)
        return false;
    for (const QString& line : rawCommands) {
        const QStringRef body = line.leftRef(line.size() - 2);
        if (!line.endsWith(QLatin1String("\r\n")) || body.contains(QLatin1Char('\r')) ||
            body.contains(QLatin1Char('\n')))
            return true;
    }
    return false;
}
