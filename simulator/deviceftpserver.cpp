#include "deviceftpserver.h"

#include <QDeadlineTimer>
#include <QFile>

namespace {

const QString python = QStringLiteral("/usr/bin/python3");
constexpr int startTimeoutMs = 10000;
constexpr int stopTimeoutMs = 3000;

QString serverScript()
{
    QFile script(QStringLiteral(":/ftpserver.py"));
    return script.open(QIODevice::ReadOnly) ? QString::fromUtf8(script.readAll()) : QString();
}

} // namespace

const QString DeviceFtpServer::user = QStringLiteral("qx8ftp");
const QString DeviceFtpServer::password = QStringLiteral("qebtorin@847");

DeviceFtpServer::DeviceFtpServer(const Settings& settings) : m_settings(settings)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

DeviceFtpServer::~DeviceFtpServer()
{
    stop();
}

bool DeviceFtpServer::start(QString* error)
{
    if (isRunning())
        return true;
    QStringList arguments{QStringLiteral("-c"),
                          serverScript(),
                          "--address=" + m_settings.address.toString(),
                          "--port=" + QString::number(m_settings.port),
                          "--root=" + m_settings.root,
                          "--user=" + user,
                          "--password=" + password,
                          QStringLiteral("--empty-nlst-450")};
    if (!m_settings.commandLogPath.isEmpty())
        arguments << "--log=" + m_settings.commandLogPath;
    if (m_settings.bytesPerSecond > 0)
        arguments << "--throttle=" + QString::number(m_settings.bytesPerSecond);
    m_process.start(python, arguments);
    const QDeadlineTimer deadline(startTimeoutMs);
    while (!m_process.canReadLine() && m_process.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    const QByteArray line = m_process.readLine().trimmed();
    if (line.startsWith("LISTENING "))
        return true;
    *error = m_process.state() == QProcess::NotRunning
                 ? QStringLiteral("%1 ended (pyftpdlib missing or port %2 taken?)")
                       .arg(python)
                       .arg(m_settings.port)
                 : QStringLiteral("no answer from %1").arg(python);
    stop();
    return false;
}

void DeviceFtpServer::stop()
{
    if (!isRunning())
        return;
    m_process.kill();
    m_process.waitForFinished(stopTimeoutMs);
}
