#include "testharness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTimer>

namespace qx8test {

int timeoutMs()
{
    return qEnvironmentVariableIsSet("CI") ? 30000 : 15000;
}

bool runEventsUntil(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QTimer wake; // ends the last wait for events at the deadline
    wake.setSingleShot(true);
    wake.start(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // As the event loop does between rounds: what was deleted later is gone.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

QHostAddress uniqueLoopbackAddress()
{
    auto* random = QRandomGenerator::global();
    const quint32 host = (127u << 24) | (random->bounded(1u, 255u) << 16) |
                         (random->bounded(0u, 256u) << 8) | random->bounded(2u, 255u);
    return QHostAddress(host);
}

bool listenOnUniqueLoopback(QTcpServer& server, quint16 port)
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (server.listen(uniqueLoopbackAddress(), port))
            return true;
    }
    return false;
}

QString virtualProcessorPath()
{
    return qEnvironmentVariable("QX8_VIRTUAL_PROCESSOR");
}

QString sourceDir()
{
    return qEnvironmentVariable("QX8_SOURCE_DIR");
}

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kProbeRequest = QStringLiteral(R"(get "\\Node\SV\HardwareVersion\")");

bool isProbeAnswer(const QString& line)
{
    return line.startsWith(kProbeRequest + QLatin1Char(' '));
}

} // namespace qx8test
