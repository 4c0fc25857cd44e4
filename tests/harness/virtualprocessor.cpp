#include "virtualprocessor.h"

#include "testharness.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

constexpr int addressTakenExitCode = 3;
constexpr int startAttempts = 20;
const QString listeningPrefix = QStringLiteral("VirtualQX8 listening on ");

QString uniqueWireLogPath(const QString& address)
{
    static int started = 0;
    return QDir(QDir::tempPath())
        .filePath(QString("virtualqx8-%1-%2-%3.log")
                      .arg(address)
                      .arg(QCoreApplication::applicationPid())
                      .arg(++started));
}

QString optionValue(const QStringList& arguments, const QString& option)
{
    const int index = arguments.indexOf(option);
    return index >= 0 && index + 1 < arguments.size() ? arguments.at(index + 1) : QString();
}

QStringList linesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString ftpLogPath(const QString& wireLogPath)
{
    return wireLogPath + QStringLiteral(".ftp");
}

} // namespace

VirtualProcessor::VirtualProcessor(QObject* parent) : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &VirtualProcessor::readOutput);
}

VirtualProcessor::~VirtualProcessor()
{
    stop();
}

bool VirtualProcessor::start(const QStringList& extraArguments)
{
    const QString fixedAddress = optionValue(extraArguments, "--address");
    for (int attempt = 0; attempt < startAttempts; ++attempt) {
        QStringList arguments = extraArguments;
        m_address = fixedAddress;
        if (m_address.isEmpty()) {
            m_address = qx8test::uniqueLoopbackAddress().toString();
            arguments << "--address" << m_address;
        }
        m_wireLogPath = optionValue(extraArguments, "--wire-log");
        if (m_wireLogPath.isEmpty()) {
            m_wireLogPath = uniqueWireLogPath(m_address);
            arguments << "--wire-log" << m_wireLogPath;
        }
        arguments << "--wire-log-times";
        if (!extraArguments.contains("--storage"))
            arguments << "--storage" << m_storage.path();
        if (extraArguments.contains("--ftp-port"))
            arguments << "--ftp-log" << ftpLogPath(m_wireLogPath);
        else
            arguments << "--ftp-port"
                      << "0";
        const Outcome outcome = startOnce(arguments);
        if (outcome == Outcome::Listening)
            return true;
        if (outcome == Outcome::Failed || !fixedAddress.isEmpty())
            return false;
    }
    return false;
}

VirtualProcessor::Outcome VirtualProcessor::startOnce(const QStringList& arguments)
{
    m_pendingOutput.clear();
    m_outputLines.clear();
    m_process.start(qx8test::virtualProcessorPath(), arguments);
    if (!m_process.waitForStarted(qx8test::timeoutMs())) {
        qWarning("VirtualQX8 did not start: %s", qPrintable(m_process.errorString()));
        return Outcome::Failed;
    }
    const bool settled = QTest::qWaitFor(
        [this] {
            return m_process.state() == QProcess::NotRunning ||
                   (!m_outputLines.isEmpty() && m_outputLines.first().startsWith(listeningPrefix));
        },
        qx8test::timeoutMs());
    if (settled && m_process.state() != QProcess::NotRunning) {
        m_outputLines.removeFirst();
        return Outcome::Listening;
    }
    if (m_process.state() == QProcess::NotRunning &&
        m_process.exitStatus() == QProcess::NormalExit &&
        m_process.exitCode() == addressTakenExitCode)
        return Outcome::AddressTaken;
    qWarning("VirtualQX8 did not come up on %s", qPrintable(m_address));
    stop();
    return Outcome::Failed;
}

void VirtualProcessor::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(qx8test::timeoutMs())) {
        m_process.kill();
        m_process.waitForFinished(qx8test::timeoutMs());
    }
}

void VirtualProcessor::readOutput()
{
    m_pendingOutput += m_process.readAllStandardOutput();
    int end;
    while ((end = m_pendingOutput.indexOf('\n')) >= 0) {
        m_outputLines.append(QString::fromUtf8(m_pendingOutput.left(end)));
        m_pendingOutput.remove(0, end + 1);
    }
}

QString VirtualProcessor::command(const QString& line)
{
    if (m_process.state() != QProcess::Running)
        return QString();
    m_outputLines.clear();
    m_process.write((line + '\n').toUtf8());
    if (!QTest::qWaitFor([this] { return !m_outputLines.isEmpty(); }, qx8test::timeoutMs()))
        return QString();
    return m_outputLines.takeFirst();
}

bool VirtualProcessor::setConsoleLink(int bytesPerSecond, int latencyMs)
{
    return command("fault console-rate=" + QString::number(bytesPerSecond)) == "ok" &&
           command("fault console-latency=" + QString::number(latencyMs)) == "ok";
}

// Plain string work: the probe waits read the whole log many times over.
QStringList VirtualProcessor::wireLog() const
{
    static const QLatin1String answered(" answered");
    QStringList entries;
    for (const QString& entry : timedWireLog()) {
        const QString plain = entry.mid(entry.indexOf(' ') + 1);
        const bool marksAnswer =
            plain.endsWith(answered) && plain.indexOf(' ') == plain.size() - answered.size();
        if (!marksAnswer)
            entries.append(plain);
    }
    return entries;
}

QStringList VirtualProcessor::timedWireLog() const
{
    return linesOf(m_wireLogPath);
}

QStringList VirtualProcessor::ftpCommands() const
{
    return linesOf(ftpLogPath(m_wireLogPath));
}

QStringList VirtualProcessor::received() const
{
    static const QRegularExpression receivedLine(QStringLiteral("^\\d+ RX (.*)$"));
    QStringList lines;
    for (const QString& entry : wireLog()) {
        const QRegularExpressionMatch match = receivedLine.match(entry);
        if (match.hasMatch())
            lines.append(match.captured(1));
    }
    return lines;
}

bool VirtualProcessor::waitForReceived(const QString& line)
{
    return QTest::qWaitFor([&] { return received().contains(line); }, qx8test::timeoutMs());
}

QStringList VirtualProcessor::receivedUntilProbe(const std::function<void()>& sendProbe, int from)
{
    const int probe = received().count(qx8test::kProbeRequest) + 1;
    sendProbe();
    std::optional<QStringList> lines;
    const bool answered = QTest::qWaitFor(
        [&] { return (lines = receivedBeforeAnsweredProbe(probe, from)).has_value(); },
        qx8test::timeoutMs());
    if (!answered) {
        qWarning("VirtualQX8 did not answer the probe");
        return received().mid(from);
    }
    return *lines;
}

int VirtualProcessor::receivedCountAfterProbe(const std::function<void()>& sendProbe)
{
    receivedUntilProbe(sendProbe);
    return received().size();
}

std::optional<QStringList> VirtualProcessor::receivedBeforeAnsweredProbe(int probe, int from) const
{
    static const QRegularExpression event(QStringLiteral("^(\\d+) (RX|TX) (.*)$"));
    QStringList lines;
    int receivedCount = 0;
    int probesSeen = 0;
    QString probeConnection;
    for (const QString& entry : wireLog()) {
        const QRegularExpressionMatch match = event.match(entry);
        if (!match.hasMatch())
            continue;
        const QString connection = match.captured(1);
        const QString text = match.captured(3);
        if (match.captured(2) == QLatin1String("TX")) {
            if (connection == probeConnection && qx8test::isProbeAnswer(text))
                return lines;
            continue;
        }
        if (!probeConnection.isEmpty())
            continue;
        if (text == qx8test::kProbeRequest) {
            if (++probesSeen == probe)
                probeConnection = connection;
        } else if (receivedCount >= from) {
            lines.append(text);
        }
        ++receivedCount;
    }
    return std::nullopt;
}
