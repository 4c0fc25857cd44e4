#include "ftpserverprocess.h"

#include "testharness.h"

#include <QDir>
#include <QFile>
#include <QTcpSocket>
#include <QTest>

#include <signal.h>

const QString FtpServerProcess::user = QStringLiteral("qx8ftp");
const QString FtpServerProcess::password = QStringLiteral("pa55 word");

namespace {

// proftpd keeps its users in a file of crypt(3) hashes; this is the hash of the password above.
const char proftpdPasswordHash[] = "$1$qx8salt$Y88QSJXls0ZEOWNacj1lQ0";

} // namespace

FtpServerProcess::FtpServerProcess(Kind kind) : m_kind(kind)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

FtpServerProcess::~FtpServerProcess()
{
    resume();
    kill();
}

bool FtpServerProcess::start(const QString& root, bool emptyNameListIs450)
{
    return m_kind == Kind::PyFtpdLib ? startPyFtpdLib(root, emptyNameListIs450)
                                     : startProFtpd(root);
}

void FtpServerProcess::setListenAddress(const QString& address, quint16 port)
{
    m_address = address;
    m_port = port;
}

bool FtpServerProcess::startPyFtpdLib(const QString& root, bool emptyNameListIs450)
{
    if (m_address.isEmpty())
        m_address = qx8test::uniqueLoopbackAddress().toString();
    QStringList arguments{qx8test::sourceDir() + QStringLiteral("/simulator/ftpserver.py"),
                          "--address=" + m_address,
                          "--port=" + QString::number(m_port),
                          "--root=" + root,
                          "--user=" + user,
                          "--password=" + m_password,
                          "--log=" + m_work.filePath(QStringLiteral("commands.log"))};
    if (emptyNameListIs450)
        arguments << QStringLiteral("--empty-nlst-450");
    for (const QString& name : m_extraNames)
        arguments << "--extra-name=" + name;
    if (m_sizeRefusal != 0)
        arguments << "--refuse-size=" + QString::number(m_sizeRefusal);
    m_process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!QTest::qWaitFor(
            [&] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; },
            qx8test::timeoutMs()))
        return false;
    const QByteArray line = m_process.readLine().trimmed();
    if (!line.startsWith("LISTENING "))
        return false;
    m_port = quint16(line.mid(10).toUInt());
    return m_port != 0;
}

bool FtpServerProcess::startProFtpd(const QString& root)
{
    QFile users(m_work.filePath(QStringLiteral("users")));
    if (!users.open(QIODevice::WriteOnly))
        return false;
    users.write(QStringLiteral("%1:%2:%3:%4::%5:/bin/false\n")
                    .arg(user, QLatin1String(proftpdPasswordHash))
                    .arg(getuid())
                    .arg(getgid())
                    .arg(root)
                    .toUtf8());
    users.close();
    users.setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    // A taken address makes proftpd exit at once; another address is tried then.
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_address = qx8test::uniqueLoopbackAddress().toString();
        m_port = 2121;
        const QString config =
            QStringLiteral("ServerType standalone\nServerName \"qx8 test\"\nDefaultServer on\n"
                           "Port %1\nDefaultAddress %2\nSocketBindTight on\nUseIPv6 off\n"
                           "User %3\nGroup %4\nRootLogin on\n"
                           "PidFile %5/proftpd.pid\nScoreboardFile %5/scoreboard\nDelayTable none\n"
                           "WtmpLog off\nUseReverseDNS off\nAuthOrder mod_auth_file.c\n"
                           "AuthUserFile %5/users\nRequireValidShell off\nDefaultRoot ~\n"
                           "AllowOverwrite on\nMaxInstances 30\nSystemLog %5/proftpd.log\n")
                .arg(m_port)
                .arg(m_address)
                .arg(getuid() == 0 ? QStringLiteral("root") : QString::number(getuid()))
                .arg(getgid() == 0 ? QStringLiteral("root") : QString::number(getgid()))
                .arg(m_work.path());
        QFile file(m_work.filePath(QStringLiteral("proftpd.conf")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        file.write(config.toUtf8());
        file.close();
        // Its log of every session goes to a file, not into the test's output.
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.setStandardOutputFile(m_work.filePath(QStringLiteral("proftpd.out")));
        m_process.setStandardErrorFile(m_work.filePath(QStringLiteral("proftpd.out")),
                                       QIODevice::Append);
        m_process.start(QStringLiteral("proftpd"),
                        {QStringLiteral("-n"), QStringLiteral("-c"), file.fileName()});
        if (waitUntilAccepting())
            return true;
        kill();
    }
    return false;
}

bool FtpServerProcess::waitUntilAccepting()
{
    if (!m_process.waitForStarted(qx8test::timeoutMs()))
        return false;
    return QTest::qWaitFor(
               [&] {
                   if (m_process.state() == QProcess::NotRunning)
                       return true;
                   QTcpSocket probe;
                   probe.connectToHost(m_address, m_port);
                   return probe.waitForConnected(200);
               },
               qx8test::timeoutMs()) &&
           m_process.state() == QProcess::Running;
}

void FtpServerProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // proftpd's parent takes its session processes with it only on SIGTERM.
    if (m_kind == Kind::ProFtpd) {
        m_process.terminate();
        if (m_process.waitForFinished(qx8test::timeoutMs()))
            return;
    }
    m_process.kill();
    m_process.waitForFinished(qx8test::timeoutMs());
}

void FtpServerProcess::pause()
{
    if (m_process.processId() > 0)
        ::kill(pid_t(m_process.processId()), SIGSTOP);
}

void FtpServerProcess::resume()
{
    if (m_process.processId() > 0)
        ::kill(pid_t(m_process.processId()), SIGCONT);
}

QStringList FtpServerProcess::commandLog() const
{
    QFile file(m_work.filePath(QStringLiteral("commands.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
