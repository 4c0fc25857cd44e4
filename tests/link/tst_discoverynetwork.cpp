#include "tst_discoverynetwork.h"

#include "testharness.h"
#include "virtualprocessor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QNetworkInterface>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <sched.h>

namespace qx8test {

void enterPrivateNetwork()
{
    if (qEnvironmentVariable("QX8_NETNS_INSIDE") != QLatin1String("1"))
        return;
    if (unshare(CLONE_NEWNET) != 0) {
        std::perror("unshare(CLONE_NEWNET)");
        return;
    }
    if (std::system("ip link set lo up") != 0)
        std::fprintf(stderr, "could not bring loopback up in the test's namespace\n");
}

bool hasPrivateNetwork()
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    return qEnvironmentVariable("QX8_NETNS_INSIDE") == QLatin1String("1") &&
           interfaces.size() == 1 && (interfaces.first().flags() & QNetworkInterface::IsLoopBack);
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    return process.waitForFinished(timeoutMs()) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

VethNetwork::~VethNetwork()
{
    if (m_holder.state() != QProcess::NotRunning) {
        // The holder ends when its input closes; the far namespace goes with it.
        m_holder.closeWriteChannel();
        if (!m_holder.waitForFinished(timeoutMs()))
            m_holder.kill();
        m_holder.waitForFinished(timeoutMs());
    }
    run("ip", {"link", "del", kNear});
    if (!m_launcher.isEmpty())
        QFile::remove(m_launcher);
}

bool VethNetwork::create()
{
    m_holder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_holder.start("unshare", {"--net", "--", "sh", "-c",
                               "ip link set lo up && echo ready && exec cat >/dev/null"});
    if (!m_holder.waitForStarted(timeoutMs()) ||
        !QTest::qWaitFor([this] { return m_holder.canReadLine(); }, timeoutMs()) ||
        m_holder.readLine().trimmed() != "ready")
        return false;
    const QString pid = QString::number(m_holder.processId());
    if (!run("ip", {"link", "add", kNear, "type", "veth", "peer", "name", kFar}) ||
        !run("ip", {"link", "set", kFar, "netns", pid}) ||
        !runFar({"ip", "link", "set", kFar, "up"}) || !setNearUp(true))
        return false;

    m_launcher = QDir(QDir::tempPath()).filePath("virtualqx8-far-" + pid + ".sh");
    QFile launcher(m_launcher);
    if (!launcher.open(QIODevice::WriteOnly))
        return false;
    launcher.write(QString("#!/bin/sh\nexec nsenter -t %1 -n '%2' \"$@\"\n")
                       .arg(pid, virtualProcessorPath())
                       .toUtf8());
    launcher.close();
    return launcher.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool VethNetwork::addNearAddress(int host)
{
    return run("ip",
               {"addr", "add", kSubnet + QString::number(host) + "/24", "brd", "+", "dev", kNear});
}

bool VethNetwork::addFarAddress(int host)
{
    return runFar(
        {"ip", "addr", "add", kSubnet + QString::number(host) + "/24", "brd", "+", "dev", kFar});
}

bool VethNetwork::setNearUp(bool up)
{
    return run("ip", {"link", "set", kNear, up ? "up" : "down"});
}

bool VethNetwork::setFarUp(bool up)
{
    return runFar({"ip", "link", "set", kFar, up ? "up" : "down"});
}

bool VethNetwork::runFar(const QStringList& arguments)
{
    return run("nsenter",
               QStringList{"-t", QString::number(m_holder.processId()), "-n"} + arguments);
}

void VethNetwork::startFar(QProcess& process, const QStringList& arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start("nsenter",
                  QStringList{"-t", QString::number(m_holder.processId()), "-n"} + arguments);
}

// The harness starts whatever QX8_VIRTUAL_PROCESSOR names; for the far side that is a launcher
// that enters the far namespace first.
bool VethNetwork::startDevice(VirtualProcessor& device, int host, const QStringList& arguments)
{
    const QByteArray original = qgetenv("QX8_VIRTUAL_PROCESSOR");
    qputenv("QX8_VIRTUAL_PROCESSOR", m_launcher.toUtf8());
    const bool started =
        device.start(QStringList{"--address", kSubnet + QString::number(host)} + arguments);
    qputenv("QX8_VIRTUAL_PROCESSOR", original);
    return started;
}

} // namespace qx8test
