#include "faultswitches.h"

namespace {

struct FaultName
{
    const char* name;
    FaultSwitches::Fault fault;
    bool takesMilliseconds;
};

const FaultName faultNames[] = {
    {"refuse-login", FaultSwitches::Fault::RefuseLogin, false},
    {"ignore-login", FaultSwitches::Fault::IgnoreLogin, false},
    {"no-banner", FaultSwitches::Fault::NoBanner, false},
    {"delay", FaultSwitches::Fault::Delay, true},
    {"split-lines", FaultSwitches::Fault::SplitLines, false},
    {"merge-lines", FaultSwitches::Fault::MergeLines, false},
    {"crlf", FaultSwitches::Fault::Crlf, false},
    {"close-mid-list", FaultSwitches::Fault::CloseMidList, false},
    {"freeze", FaultSwitches::Fault::Freeze, false},
    {"lc-trailing-backslash", FaultSwitches::Fault::LcTrailingBackslash, false},
    {"percent-bare", FaultSwitches::Fault::PercentBare, false},
    {"discovery-silent", FaultSwitches::Fault::DiscoverySilent, false},
    {"discovery-delay", FaultSwitches::Fault::DiscoveryDelay, true},
    {"firmware-refuse", FaultSwitches::Fault::FirmwareRefuse, false},
    {"firmware-stall", FaultSwitches::Fault::FirmwareStall, false},
    {"firmware-drop", FaultSwitches::Fault::FirmwareDrop, false},
};

const FaultName* findFault(const QString& name)
{
    for (const FaultName& entry : faultNames) {
        if (name == QLatin1String(entry.name))
            return &entry;
    }
    return nullptr;
}

} // namespace

FaultSwitches::FaultSwitches(QObject* parent) : QObject(parent) {}

bool FaultSwitches::apply(const QString& setting, QString* error)
{
    const int equals = setting.indexOf('=');
    if (equals < 0)
        return set(setting, QStringLiteral("on"), error);
    return set(setting.left(equals), setting.mid(equals + 1), error);
}

bool FaultSwitches::applyCommand(const QString& arguments, QString* error)
{
    const QStringList words = arguments.split(' ', Qt::SkipEmptyParts);
    if (words.size() == 2)
        return set(words.at(0), words.at(1), error);
    if (words.size() == 1)
        return apply(words.at(0), error);
    *error = "usage: fault NAME on|off or fault NAME=VALUE";
    return false;
}

bool FaultSwitches::set(const QString& name, const QString& value, QString* error)
{
    const FaultName* entry = findFault(name);
    if (!entry) {
        *error = "unknown fault \"" + name + "\"";
        return false;
    }
    int number = 0;
    if (entry->takesMilliseconds) {
        bool ok = false;
        number = value.toInt(&ok);
        if (value == "off")
            number = 0;
        else if (!ok || number < 0) {
            *error = name + " takes a time in milliseconds";
            return false;
        }
    } else if (value == "on" || value == "1") {
        number = 1;
    } else if (value != "off" && value != "0") {
        *error = name + " is on or off";
        return false;
    }
    if (m_values.value(entry->fault, 0) == number)
        return true;
    m_values.insert(entry->fault, number);
    Q_EMIT changed(entry->fault);
    return true;
}
