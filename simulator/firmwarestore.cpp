#include "firmwarestore.h"

#include "devicestate.h"

#include <QDir>

namespace {

// Both places the device reports its firmware version.
const char* const kVersionVariables[] = {"Node\\AT\\Software_Version", "Node\\SV\\SoftwareVersion"};

QString outcomeName(FirmwareStore::Outcome outcome)
{
    switch (outcome) {
    case FirmwareStore::Outcome::None:
        return QStringLiteral("none");
    case FirmwareStore::Outcome::Announced:
        return QStringLiteral("announced");
    case FirmwareStore::Outcome::Receiving:
        return QStringLiteral("receiving");
    case FirmwareStore::Outcome::Installed:
        return QStringLiteral("installed");
    case FirmwareStore::Outcome::Rejected:
        return QStringLiteral("rejected");
    case FirmwareStore::Outcome::Dropped:
        return QStringLiteral("dropped");
    case FirmwareStore::Outcome::Refused:
        return QStringLiteral("refused");
    }
    return {};
}

} // namespace

FirmwareStore::FirmwareStore(DeviceState& state, const QString& folder)
    : m_state(state), m_folder(folder)
{
}

bool FirmwareStore::prepare(QString* error)
{
    if (!QDir().mkpath(m_folder)) {
        *error = "cannot make the firmware folder " + m_folder;
        return false;
    }
    return true;
}

QString FirmwareStore::pathFor(const QString& target) const
{
    return QDir(m_folder).filePath(target.section('\\', -1));
}

void FirmwareStore::record(Outcome outcome, qint64 received, qint64 announced)
{
    m_outcome = outcome;
    m_received = received;
    m_announced = announced;
}

void FirmwareStore::install(const QString& version)
{
    m_installed = version;
    for (const char* path : kVersionVariables)
        m_state.change(QString::fromLatin1(path), version);
}

QString FirmwareStore::describe() const
{
    return outcomeName(m_outcome) + ' ' + QString::number(m_received) + ' ' +
           QString::number(m_announced) + ' ' + (m_installed.isEmpty() ? "-" : m_installed);
}
