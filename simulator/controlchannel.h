#pragma once

#include <QObject>

class ConsoleServer;
class DeviceState;
class FaultSwitches;
class StdinReader;
class WizardEngine;

// Commands for tests, one per line on standard input, each answered by one line on standard
// output that starts with "ok" or "error":
//   fault NAME on|off, fault NAME[=VALUE]   switch a failure mode
//   send TEXT                               TEXT and LF to every connection
//   sendbytes TEXT                          TEXT with C escapes (\n \r \t \\ \") and nothing added
//   set PATH VALUE                          a change made on the device -> "ok <value>"
//   entries PATH ENTRY|ENTRY|...            new entries of an enumeration, pushed to its
//                                           subscribers as an `lc` block -> "ok <count>"
//   wizard-step MS                          how long automatic wizard steps last (as
//                                           --wizard-step-ms)
//   value PATH                              -> "ok <value>"
//   subscriptions                           -> "ok <count> <path> | <path> ..." (sorted)
//   connections                             -> "ok <count>"
//   close, abort                            FIN or RST every connection
//   quit
class ControlChannel : public QObject
{
    Q_OBJECT

public:
    ControlChannel(StdinReader& input, ConsoleServer& server, DeviceState& state,
                   FaultSwitches& faults, WizardEngine& wizards, QObject* parent = nullptr);

Q_SIGNALS:
    void quitRequested();

private:
    void onLine(const QString& line);
    QString execute(const QString& name, const QString& arguments);
    QString setValue(const QString& arguments);
    QString replaceEntries(const QString& arguments);
    QString readValue(const QString& path);
    QString subscriptions() const;

    ConsoleServer& m_server;
    DeviceState& m_state;
    FaultSwitches& m_faults;
    WizardEngine& m_wizards;
};
