#include "faultswitches.h"

#include <algorithm>
#include <iterator>

namespace {

const char* const milliseconds = "a time in milliseconds";

const char* const consoleCommands[] = {"sub", "unsub", "set", "get", "asyncget", "lc", "ls"};

struct FaultName
{
    const char* name;
    FaultSwitches::Fault fault;
    const char* number;       // what the number means; null for an on/off switch
    bool commandWord = false; // holds a console command word instead
};

const FaultName faultNames[] = {
    {"refuse-login", FaultSwitches::Fault::RefuseLogin, nullptr},
    {"ignore-login", FaultSwitches::Fault::IgnoreLogin, nullptr},
    {"no-banner", FaultSwitches::Fault::NoBanner, nullptr},
    {"delay", FaultSwitches::Fault::Delay, milliseconds},
    {"split-lines", FaultSwitches::Fault::SplitLines, nullptr},
    {"merge-lines", FaultSwitches::Fault::MergeLines, nullptr},
    {"crlf", FaultSwitches::Fault::Crlf, nullptr},
    {"close-mid-list", FaultSwitches::Fault::CloseMidList, nullptr},
    {"freeze", FaultSwitches::Fault::Freeze, nullptr},
    {"lc-trailing-backslash", FaultSwitches::Fault::LcTrailingBackslash, nullptr},
    {"percent-bare", FaultSwitches::Fault::PercentBare, nullptr},
    {"discovery-silent", FaultSwitches::Fault::DiscoverySilent, nullptr},
    {"discovery-delay", FaultSwitches::Fault::DiscoveryDelay, milliseconds},
    {"json-split", FaultSwitches::Fault::JsonSplit, "a number of pieces"},
    {"json-error", FaultSwitches::Fault::JsonError, nullptr},
    {"json-foreign-id", FaultSwitches::Fault::JsonForeignId, nullptr},
    {"answer-delay", FaultSwitches::Fault::AnswerDelay, milliseconds},
    {"reconfig-silent", FaultSwitches::Fault::ReconfigSilent, nullptr},
    {"console-rate", FaultSwitches::Fault::ConsoleRate, "a number of bytes a second"},
    {"console-latency", FaultSwitches::Fault::ConsoleLatency, milliseconds},
    {"ignore-command", FaultSwitches::Fault::IgnoreCommand, nullptr, true},
    {"firmware-refuse", FaultSwitches::Fault::FirmwareRefuse, nullptr},
    {"firmware-stall", FaultSwitches::Fault::FirmwareStall, nullptr},
    {"firmware-drop", FaultSwitches::Fault::FirmwareDrop, nullptr},
};

const FaultName* findFault(const QString& name)
{
    for (const FaultName& entry : faultNames) {
        if (name == QLatin1String(entry.name))
            return &entry;
    }
    return nullptr;
}

bool isConsoleCommand(const QString& word)
{
    return std::any_of(std::begin(consoleCommands), std::end(consoleCommands),
                       [&](const char* command) { return word == QLatin1String(command); });
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
    QString word;
    if (entry->commandWord) {
        if (value != "off" && !isConsoleCommand(value)) {
            *error = name + " takes a console command word (sub, unsub, set, get, asyncget, lc, "
                            "ls) or off";
            return false;
        }
        word = value == "off" ? QString() : value;
        number = word.isEmpty() ? 0 : 1;
    } else if (entry->number) {
        bool ok = false;
        number = value.toInt(&ok);
        if (value == "off")
            number = 0;
        else if (!ok || number < 0) {
            *error = name + " takes " + entry->number;
            return false;
        }
    } else if (value == "on" || value == "1") {
        number = 1;
    } else if (value != "off" && value != "0") {
        *error = name + " is on or off";
        return false;
    }
    if (m_values.value(entry->fault, 0) == number && m_words.value(entry->fault) == word)
        return true;
    m_values.insert(entry->fault, number);
    m_words.insert(entry->fault, word);
    Q_EMIT changed(entry->fault);
    return true;
}
