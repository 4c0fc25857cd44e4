#include "httpserverprocess.h"

#include "testharness.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

namespace {

QByteArray latin1(const QJsonValue& value)
{
    return value.toString().toLatin1();
}

} // namespace

QByteArray HttpServerProcess::Request::header(const QByteArray& name) const
{
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

HttpServerProcess::HttpServerProcess()
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

HttpServerProcess::~HttpServerProcess()
{
    stop();
}

bool HttpServerProcess::start(const QString& root, const QStringList& faults)
{
    m_address = qx8test::uniqueLoopbackAddress().toString();
    QStringList arguments{qx8test::sourceDir() + QStringLiteral("/tests/harness/httpserver.py"),
                          QStringLiteral("--address"),
                          m_address,
                          QStringLiteral("--root"),
                          root,
                          QStringLiteral("--log"),
                          m_work.filePath(QStringLiteral("requests.log"))};
    for (const QString& fault : faults)
        arguments << QStringLiteral("--fault") << fault;
    m_process.start(QStringLiteral("/usr/bin/python3"), arguments);
    const QString line = readLine();
    const QRegularExpressionMatch ready =
        QRegularExpression(QStringLiteral("^HTTP server listening on ([0-9.]+):([0-9]+)$"))
            .match(line);
    if (!ready.hasMatch()) {
        qWarning("The HTTP server did not come up: %s", qPrintable(line));
        stop();
        return false;
    }
    m_port = quint16(ready.captured(2).toUInt());
    return true;
}

void HttpServerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(qx8test::timeoutMs())) {
        m_process.kill();
        m_process.waitForFinished(qx8test::timeoutMs());
    }
}

QUrl HttpServerProcess::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://%1:%2%3").arg(m_address).arg(m_port).arg(path));
}

bool HttpServerProcess::setFault(const QString& path, const QString& mode)
{
    return command(QStringLiteral("fault %1 %2").arg(path, mode)) == QLatin1String("ok");
}

QString HttpServerProcess::command(const QString& line)
{
    m_process.write(line.toUtf8() + '\n');
    return readLine();
}

QString HttpServerProcess::readLine()
{
    const bool answered =
        QTest::qWaitFor([this] { return m_process.canReadLine(); }, qx8test::timeoutMs());
    return answered ? QString::fromUtf8(m_process.readLine()).trimmed() : QString();
}

QList<HttpServerProcess::Request> HttpServerProcess::requests() const
{
    QFile log(m_work.filePath(QStringLiteral("requests.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QList<Request> requests;
    for (const QByteArray& line : log.readAll().split('\n')) {
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        if (entry.isEmpty())
            continue;
        Request request{latin1(entry.value("method")),
                        latin1(entry.value("path")),
                        {},
                        latin1(entry.value("body")),
                        entry.value("status").toInt()};
        for (const QJsonValue& header : entry.value("headers").toArray()) {
            request.headers.append(
                {latin1(header.toArray().at(0)), latin1(header.toArray().at(1))});
        }
        requests.append(request);
    }
    return requests;
}
