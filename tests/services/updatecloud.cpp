#include "updatecloud.h"

#include "testharness.h"

#include <QProcess>

bool UpdateCloud::start(qint64 firmwareSize)
{
    if (!m_server.start(m_root.path()))
        return false;
    const QString baseUrl = m_server.url(QString()).toString();
    QProcess generator;
    generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    generator.start(qx8test::sourceDir() +
                        QStringLiteral("/simulator/storage/make_update_files.py"),
                    {QStringLiteral("--base-url"), baseUrl, QStringLiteral("--firmware-size"),
                     QString::number(firmwareSize), m_root.path()});
    if (!generator.waitForFinished(qx8test::timeoutMs()) || generator.exitCode() != 0) {
        qWarning("make_update_files.py failed");
        return false;
    }
    qputenv("QX8_CLOUD_BASE_URL", baseUrl.toUtf8());
    return true;
}

QByteArray UpdateCloud::file(const QString& path) const
{
    return qx8test::fileContent(m_root.path() + path);
}

int UpdateCloud::requestsFor(const QByteArray& path) const
{
    int count = 0;
    for (const HttpServerProcess::Request& request : m_server.requests())
        count += request.path == path;
    return count;
}
