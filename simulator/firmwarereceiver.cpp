#include "firmwarereceiver.h"

#include "faultswitches.h"
#include "firmwarestore.h"
#include "linechannel.h"
#include "wirelog.h"

namespace {

const QString kTarget = QStringLiteral("file\\updKaloTar");

} // namespace

FirmwareReceiver::FirmwareReceiver(LineChannel& channel, FirmwareStore& store,
                                   const FaultSwitches& faults, WireLog& log)
    : QObject(&channel), m_channel(channel), m_store(store), m_faults(faults), m_log(log)
{
    connect(&m_channel, &LineChannel::dataReceived, this, &FirmwareReceiver::onData);
    connect(&m_channel, &LineChannel::closed, this, [this] {
        if (m_file.isOpen())
            drop();
    });
}

void FirmwareReceiver::start(const QString& target, const QString& size)
{
    bool isNumber = false;
    m_announced = size.toLongLong(&isNumber);
    if (target != kTarget || !isNumber || m_announced < 0 || m_announced > kMaximumImageSize) {
        m_channel.sendLine("error cannot write \"" + target + "\" " + size);
        deleteLater();
        return;
    }
    note("announced " + QString::number(m_announced));
    if (m_faults.isOn(FaultSwitches::Fault::FirmwareRefuse)) {
        m_store.record(FirmwareStore::Outcome::Refused, 0, m_announced);
        m_channel.sendLine(QStringLiteral("error firmware update refused"));
        deleteLater();
        return;
    }
    m_store.record(FirmwareStore::Outcome::Announced, 0, m_announced);
    if (m_faults.isOn(FaultSwitches::Fault::FirmwareStall))
        return;
    m_path = m_store.pathFor(target);
    m_file.setFileName(m_path + QStringLiteral(".part"));
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_channel.sendLine("error cannot store the image: " + m_file.errorString());
        deleteLater();
        return;
    }
    m_store.record(FirmwareStore::Outcome::Receiving, 0, m_announced);
    m_channel.sendLine(QStringLiteral("writer OK"));
    if (m_announced == 0)
        complete();
    else
        m_channel.receiveData(m_announced);
}

void FirmwareReceiver::onData(const QByteArray& data)
{
    if (!m_file.isOpen())
        return;
    m_received += data.size();
    m_image.add(data);
    if (m_file.write(data) != data.size())
        note("cannot store the image: " + m_file.errorString());
    m_store.record(FirmwareStore::Outcome::Receiving, m_received, m_announced);
    if (m_faults.isOn(FaultSwitches::Fault::FirmwareDrop) && 2 * m_received >= m_announced) {
        drop();
        m_channel.reset();
    } else if (m_received == m_announced) {
        complete();
    }
}

void FirmwareReceiver::complete()
{
    m_file.close();
    QFile::remove(m_path);
    QString reason;
    QString version;
    if (m_file.error() != QFileDevice::NoError)
        reason = "cannot store the image: " + m_file.errorString();
    else if (!m_file.rename(m_path))
        reason = "cannot store the image: " + m_file.errorString();
    else
        version = m_image.verify(&reason);
    if (version.isEmpty()) {
        m_store.record(FirmwareStore::Outcome::Rejected, m_received, m_announced);
        note("rejected after " + QString::number(m_received) + " bytes: " + reason);
    } else {
        m_store.record(FirmwareStore::Outcome::Installed, m_received, m_announced);
        note("installed " + version + " (" + QString::number(m_received) + " bytes)");
        m_store.install(version);
    }
    deleteLater();
}

void FirmwareReceiver::drop()
{
    m_file.close();
    m_file.remove();
    m_store.record(FirmwareStore::Outcome::Dropped, m_received, m_announced);
    note("dropped after " + QString::number(m_received) + " of " + QString::number(m_announced) +
         " bytes");
    deleteLater();
}

void FirmwareReceiver::note(const QString& event)
{
    m_log.write(QString::number(m_channel.number()), "FIRMWARE " + event);
}
