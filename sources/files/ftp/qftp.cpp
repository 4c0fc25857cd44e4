#include "qftp.h"

#include "qftpcommand.h"
#include "qftpprivate.h"

#include <QIODevice>

namespace {

const QLatin1String lineEnd("\r\n");
// Nine lower-case letters and an "@", as anonymous servers expect an address-like password.
const QLatin1String anonymousPassword("anonymous@");

QString line(const char* command, const QString& argument)
{
    return QLatin1String(command) + QLatin1Char(' ') + argument + lineEnd;
}

QString typeLine(QFtp::TransferType type)
{
    return type == QFtp::Binary ? QStringLiteral("TYPE I\r\n") : QStringLiteral("TYPE A\r\n");
}

QString lineWithOptionalArgument(const char* command, const QString& argument)
{
    return argument.isEmpty() ? QLatin1String(command) + lineEnd : line(command, argument);
}

} // namespace

QFtp::QFtp(QObject* parent) : QObject(parent), d(std::make_unique<QFtpPrivate>(this))
{
    qRegisterMetaType<QUrlInfo>();
}

QFtp::~QFtp()
{
    abort();
    close();
    d.reset();
}

int QFtp::addCommand(QFtp::Command command, const QStringList& rawCommands, QIODevice* device)
{
    return d->addCommand(std::make_unique<QFtpCommand>(command, rawCommands, device));
}

QString QFtp::dataConnectionLine() const
{
    return d->transferMode == Passive ? QStringLiteral("PASV\r\n") : QStringLiteral("PORT\r\n");
}

int QFtp::setProxy(const QString& host, quint16 port)
{
    return addCommand(SetProxy, {host, QString::number(port)});
}

int QFtp::connectToHost(const QString& host, quint16 port)
{
    d->pi.setTransferConnectionExtended(true);
    return addCommand(ConnectToHost, {host, QString::number(port)});
}

int QFtp::login(const QString& user, const QString& password)
{
    return addCommand(Login, {line("USER", user.isNull() ? QStringLiteral("anonymous") : user),
                              line("PASS", password.isNull() ? anonymousPassword : password)});
}

int QFtp::close()
{
    return addCommand(Close, {QStringLiteral("QUIT\r\n")});
}

int QFtp::setTransferMode(TransferMode mode)
{
    d->pi.setTransferConnectionExtended(true);
    d->transferMode = mode;
    return addCommand(SetTransferMode, {});
}

int QFtp::list(const QString& dir)
{
    return addCommand(List, {QStringLiteral("TYPE A\r\n"), dataConnectionLine(),
                             lineWithOptionalArgument("LIST", dir)});
}

int QFtp::nameList(QIODevice* device)
{
    return nameList(QString(), device);
}

int QFtp::nameList(const QString& dir, QIODevice* device)
{
    return addCommand(
        NameList,
        {QStringLiteral("TYPE A\r\n"), dataConnectionLine(), lineWithOptionalArgument("NLST", dir)},
        device);
}

int QFtp::cd(const QString& dir)
{
    return addCommand(Cd, {line("CWD", dir)});
}

int QFtp::get(const QString& file, QIODevice* device, TransferType type)
{
    return addCommand(
        Get, {typeLine(type), line("SIZE", file), dataConnectionLine(), line("RETR", file)},
        device);
}

int QFtp::put(const QByteArray& data, const QString& file, TransferType type)
{
    const QStringList lines{typeLine(type), dataConnectionLine(),
                            line("ALLO", QString::number(data.size())), line("STOR", file)};
    return d->addCommand(std::make_unique<QFtpCommand>(Put, lines, data));
}

int QFtp::put(QIODevice* device, const QString& file, TransferType type)
{
    QStringList lines{typeLine(type), dataConnectionLine()};
    if (device && !device->isSequential())
        lines << line("ALLO", QString::number(device->size()));
    lines << line("STOR", file);
    return addCommand(Put, lines, device);
}

int QFtp::remove(const QString& file)
{
    return addCommand(Remove, {line("DELE", file)});
}

int QFtp::mkdir(const QString& dir)
{
    return addCommand(Mkdir, {line("MKD", dir)});
}

int QFtp::rmdir(const QString& dir)
{
    return addCommand(Rmdir, {line("RMD", dir)});
}

int QFtp::rename(const QString& oldname, const QString& newname)
{
    return addCommand(Rename, {line("RNFR", oldname), line("RNTO", newname)});
}

int QFtp::rawCommand(const QString& command)
{
    return addCommand(RawCommand, {command.trimmed() + lineEnd});
}

qint64 QFtp::bytesAvailable() const
{
    return d->pi.dtp().bytesAvailable();
}

qint64 QFtp::read(char* data, qint64 maxlen)
{
    return d->pi.dtp().read(data, maxlen);
}

QByteArray QFtp::readAll()
{
    return d->pi.dtp().readAll();
}

int QFtp::currentId() const
{
    const QFtpCommand* c = d->current();
    return c ? c->id : 0;
}

QIODevice* QFtp::currentDevice() const
{
    const QFtpCommand* c = d->current();
    return c && !c->isBytes ? c->device : nullptr;
}

QFtp::Command QFtp::currentCommand() const
{
    const QFtpCommand* c = d->current();
    return c ? c->command : None;
}

bool QFtp::hasPendingCommands() const
{
    return d->pending.size() > 1;
}

void QFtp::clearPendingCommands()
{
    d->dropQueuedBehindCurrent();
}

QFtp::State QFtp::state() const
{
    return d->state;
}

QFtp::Error QFtp::error() const
{
    return d->error;
}

QString QFtp::errorString() const
{
    return d->errorString;
}

void QFtp::setProgressTimeout(int msecs)
{
    d->pi.setProgressTimeout(msecs);
}

void QFtp::abort()
{
    if (d->pending.empty())
        return;
    d->dropQueuedBehindCurrent();
    d->pi.abort();
}
