#include "faultpeers.h"

#include "testharness.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

namespace {

bool copyTree(const QString& from, const QString& to)
{
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

// A preset file as the device writes one, of a few kilobytes to a few tens.
QByteArray presetContent(QRandomGenerator& random)
{
    QByteArray content = "QX8 preset 1\n";
    const int lines = 200 + int(random.bounded(1500u));
    for (int line = 0; line < lines; ++line)
        content += "\\\\Preset\\HighPEQ\\SV\\Band_" + QByteArray::number(line % 8 + 1) +
                   "_Gain\\\t" + QByteArray::number(int(random.bounded(40u)) - 20) + '\n';
    return content;
}

} // namespace

const QList<int> FaultPeers::filledSlots = {5, 6, 7, 8, 9};

bool FaultPeers::prepare()
{
    if (!m_cloud.start())
        return false;
    const QString tunings = qx8test::sourceDir() + QStringLiteral("/simulator/storage/cloud");
    if (!copyTree(tunings, m_cloud.rootPath())) {
        qWarning("The cloud tunings could not be copied");
        return false;
    }
    QProcess seeder;
    seeder.start(qx8test::sourceDir() + QStringLiteral("/simulator/storage/seed_tuning_storage.py"),
                 {m_tuningFolders.path()});
    if (!seeder.waitForFinished(qx8test::timeoutMs()) || seeder.exitCode() != 0) {
        qWarning("seed_tuning_storage.py failed");
        return false;
    }
    return true;
}

bool FaultPeers::startDevice(quint32 seed)
{
    m_device = std::make_unique<VirtualProcessor>();
    m_ftpStopped = false;
    m_faultedPaths.clear();
    m_switchedFaults.clear();
    QRandomGenerator random(seed);
    const QString storage = m_device->storagePath();
    if (!copyTree(m_tuningFolders.path(), storage) || !QDir().mkpath(storage + "/presets"))
        return false;
    for (int slot : filledSlots) {
        QFile file(slotFile(slot));
        const QByteArray content = presetContent(random);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return false;
    }
    return m_device->start({QStringLiteral("--ftp-port"), QStringLiteral("21"),
                            QStringLiteral("--ftp-rate"), QString::number(kFtpBytesPerSecond)});
}

void FaultPeers::stopDevice()
{
    m_device.reset();
}

QString FaultPeers::slotFile(int slot) const
{
    return m_device->storagePath() + QStringLiteral("/presets/Preset_%1.preset").arg(slot);
}

QString FaultPeers::apply(const faultplan::FaultEvent& event)
{
    if (event.peer == faultplan::Peer::Cloud) {
        const QString path = event.command.section(QLatin1Char(' '), 0, 0);
        const QString mode = event.command.section(QLatin1Char(' '), 1);
        m_faultedPaths.insert(path);
        return m_cloud.server().setFault(path, mode) ? QString()
                                                     : "the cloud refused " + event.command;
    }
    if (event.command.startsWith(QLatin1String("fault ")))
        m_switchedFaults.insert(event.command.section(QLatin1Char(' '), 1, 1).section('=', 0, 0));
    else if (event.command == QLatin1String("ftp stop"))
        m_ftpStopped = true;
    else if (event.command == QLatin1String("ftp start"))
        m_ftpStopped = false;
    const QString answer = m_device->command(event.command);
    return answer.startsWith(QLatin1String("ok"))
               ? QString()
               : QStringLiteral("VirtualQX8 answered \"%1\" to \"%2\"").arg(answer, event.command);
}

QString FaultPeers::calm()
{
    QStringList failures;
    QList<faultplan::FaultEvent> commands;
    for (const QString& name : qAsConst(m_switchedFaults))
        commands.append({0, faultplan::Peer::Device, "fault " + name + " off"});
    if (m_ftpStopped)
        commands.append({0, faultplan::Peer::Device, QStringLiteral("ftp start")});
    for (const QString& path : qAsConst(m_faultedPaths))
        commands.append({0, faultplan::Peer::Cloud, path + QStringLiteral(" off")});
    for (const faultplan::FaultEvent& command : qAsConst(commands)) {
        const QString failure = apply(command);
        if (!failure.isEmpty())
            failures.append(failure);
    }
    m_faultedPaths.clear();
    m_switchedFaults.clear();
    return failures.join(QStringLiteral("; "));
}
