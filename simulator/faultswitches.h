#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <optional>

// Named failure modes and device variants (an `lc` that echoes its closing backslash, percent
// values without their sign), switched on at start (--fault) or at run time (control channel).
// Most are on or off; "delay", "discovery-delay", "answer-delay" and "console-latency" carry a
// time in milliseconds, "json-split" a number of pieces, "console-rate" bytes a second;
// "ignore-command" names a console command word.
class FaultSwitches : public QObject
{
    Q_OBJECT

public:
    enum class Fault {
        RefuseLogin,
        IgnoreLogin,
        NoBanner,
        Delay,
        SplitLines,
        MergeLines,
        Crlf,
        CloseMidList,
        Freeze,
        LcTrailingBackslash,
        PercentBare,
        DiscoverySilent,
        DiscoveryDelay,
        FirmwareRefuse,
        FirmwareStall,
        FirmwareDrop,
        JsonSplit,
        JsonError,
        JsonForeignId,
        AnswerDelay,
        ReconfigSilent,
        ConsoleRate,
        ConsoleLatency,
        IgnoreCommand,
    };

    explicit FaultSwitches(QObject* parent = nullptr);

    // "NAME" (on), "NAME=VALUE"; for on/off switches VALUE may be on, off, 1 or 0.
    bool apply(const QString& setting, QString* error);
    // "NAME on|off" as well as the forms of apply().
    bool applyCommand(const QString& arguments, QString* error);

    bool isOn(Fault fault) const { return m_values.value(fault, 0) != 0; }
    int value(Fault fault) const { return m_values.value(fault, 0); }
    // The word a switch that names one holds; empty while it is off.
    QString word(Fault fault) const { return m_words.value(fault); }

Q_SIGNALS:
    void changed(FaultSwitches::Fault fault);

private:
    bool set(const QString& name, const QString& value, QString* error);

    QHash<Fault, int> m_values;
    QHash<Fault, QString> m_words;
};

inline uint qHash(FaultSwitches::Fault fault, uint seed = 0)
{
    return ::qHash(static_cast<int>(fault), seed);
}
