#include "tuningfixture.h"

#include "datafolders.h"
#include "ftpclientthread.h"
#include "testharness.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

const QStringList TuningDevice::folders{QStringLiteral("SpeakerTunings"),
                                        QStringLiteral("AmplifierData")};

bool TuningDevice::seed(int extra)
{
    QProcess script;
    script.start(
        QStringLiteral("/usr/bin/python3"),
        {qx8test::sourceDir() + QStringLiteral("/simulator/storage/seed_tuning_storage.py"),
         m_storage.path(), QStringLiteral("--extra"), QString::number(extra)});
    if (!script.waitForFinished(qx8test::timeoutMs()) || script.exitCode() != 0)
        return false;
    m_seeded = QJsonDocument::fromJson(script.readAllStandardOutput()).object();
    return !m_seeded.isEmpty();
}

bool TuningDevice::start(const QStringList& extraNames)
{
    m_extraNames = extraNames;
    m_address = qx8test::uniqueLoopbackAddress().toString();
    return restart();
}

bool TuningDevice::restart()
{
    if (m_server)
        m_previousLog += m_server->commandLog();
    m_server = std::make_unique<FtpServerProcess>(FtpServerProcess::Kind::PyFtpdLib);
    m_server->setListenAddress(m_address, 21);
    m_server->setPassword(FtpClientThread::devicePassword);
    m_server->setExtraNames(m_extraNames);
    m_server->setSizeRefusal(m_sizeRefusal);
    return m_server->start(m_storage.path(), true);
}

void TuningDevice::stop()
{
    m_server->kill();
}

QStringList TuningDevice::seeded(const QString& folder, const QString& kind) const
{
    QStringList names;
    for (const QJsonValue& name : m_seeded.value(folder).toObject().value(kind).toArray())
        names.append(name.toString());
    return names;
}

QStringList TuningDevice::files(const QString& folder) const
{
    return QDir(m_storage.filePath(folder)).entryList(QDir::Files, QDir::Name);
}

QStringList TuningDevice::commandLog() const
{
    return m_previousLog + m_server->commandLog();
}

QStringList TuningDevice::commands(const QString& verb) const
{
    QStringList found;
    for (const QString& line : commandLog()) {
        if (line.startsWith(verb))
            found.append(line.mid(verb.size()));
    }
    return found;
}

QString localTuningFolder(const QString& folder)
{
    return QString::fromStdString(USER_PATH) + QStringLiteral("/QX8/TuningFiles/Local/") + folder;
}
