#include "testharness.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>

namespace qx8test {

int timeoutMs()
{
    return qEnvironmentVariableIsSet("CI") ? 30000 : 15000;
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
