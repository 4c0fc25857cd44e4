#include "offlinemodel.h"

#include "viewloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

namespace {
const QStringList kDeviceTypes = {QStringLiteral("Standard"), QStringLiteral("Dante"),
                                  QStringLiteral("OrvelLink")};
const QByteArray kListening = "VirtualQX8 listening on ";
} // namespace

OfflineModel::OfflineModel(const QString& program, QObject* parent)
    : QObject(parent), m_program(program), m_deviceType(kDeviceTypes.first())
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &OfflineModel::onReadyRead);
    connect(&m_process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            &OfflineModel::onFinished);
    connect(&m_process, &QProcess::errorOccurred, this, &OfflineModel::onProcessError);
    m_killTimer.setSingleShot(true);
    m_killTimer.setInterval(kStopGraceMs);
    connect(&m_killTimer, &QTimer::timeout, &m_process, &QProcess::kill);
}

OfflineModel::~OfflineModel()
{
    m_process.disconnect(this);
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(kStopGraceMs);
    }
}

QString OfflineModel::defaultProgram()
{
    const QString program = qEnvironmentVariable("QX8_OFFLINE_MODEL");
    return program.isEmpty() ? programIn(QCoreApplication::applicationDirPath()) : program;
}

QString OfflineModel::programIn(const QString& applicationFolder)
{
    const QFileInfo installed(QDir(applicationFolder).filePath(QLatin1String(kProgramName)));
    if (installed.isFile() && installed.isExecutable())
        return installed.absoluteFilePath();
    return QStringLiteral(QX8_OFFLINE_MODEL_BUILD_PATH);
}

void OfflineModel::attach(ViewLoader* loader)
{
    connect(loader, &ViewLoader::startOfflineModel, this, &OfflineModel::start);
    connect(loader, &ViewLoader::stopOfflineModel, this, &OfflineModel::stop);
    connect(loader, &ViewLoader::updateHarwareVersionInPresetsDB, this,
            &OfflineModel::setDeviceType);
    connect(this, &OfflineModel::started, loader, &ViewLoader::onOfflineModelStarted);
    connect(this, &OfflineModel::stopped, loader, &ViewLoader::onOfflineModelStopped);
}

void OfflineModel::setDeviceType(const QString& typeIndex)
{
    bool isNumber = false;
    const int index = typeIndex.toInt(&isNumber);
    if (isNumber && index >= 0 && index < kDeviceTypes.size())
        m_deviceType = kDeviceTypes.at(index);
    else if (kDeviceTypes.contains(typeIndex))
        m_deviceType = typeIndex;
    else
        qWarning().noquote() << "Unknown offline device type" << typeIndex << "- using"
                             << m_deviceType;
}

void OfflineModel::start()
{
    if (m_process.state() == QProcess::NotRunning)
        launch();
    else
        m_startPending = true;
}

void OfflineModel::stop()
{
    m_startPending = false;
    if (m_process.state() == QProcess::NotRunning || m_killTimer.isActive())
        return;
    m_stopRequested = true;
    m_process.terminate();
    m_killTimer.start();
}

void OfflineModel::launch()
{
    m_output.clear();
    m_listening = false;
    m_stopRequested = false;
    qDebug().noquote() << "Starting offline model" << m_program << "as" << m_deviceType;
    m_process.start(m_program, {QStringLiteral("--address"), QStringLiteral("127.0.0.1")});
}

void OfflineModel::onReadyRead()
{
    m_output += m_process.readAllStandardOutput();
    if (m_listening || !m_output.contains(kListening))
        return;
    m_listening = true;
    m_output.clear();
    const QString command =
        QStringLiteral("set \"\\\\Node\\SV\\HardwareVersion\\\" \"%1\"\n").arg(m_deviceType);
    m_process.write(command.toUtf8());
    Q_EMIT started();
}

void OfflineModel::onFinished(int exitCode, QProcess::ExitStatus status)
{
    m_killTimer.stop();
    const bool wasListening = m_listening;
    m_listening = false;
    if (!wasListening && !m_stopRequested) {
        const QString reason = QStringLiteral("Offline model ended before listening (exit %1%2)")
                                   .arg(exitCode)
                                   .arg(status == QProcess::CrashExit ? ", crashed" : "");
        qWarning().noquote() << reason;
        Q_EMIT error(reason);
    }
    Q_EMIT stopped();
    if (m_startPending) {
        m_startPending = false;
        launch();
    }
}

void OfflineModel::onProcessError(QProcess::ProcessError processError)
{
    if (processError != QProcess::FailedToStart)
        return;
    const QString reason = QStringLiteral("Offline model %1 could not start: %2")
                               .arg(m_program, m_process.errorString());
    qWarning().noquote() << reason;
    Q_EMIT error(reason);
}
