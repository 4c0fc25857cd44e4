#pragma once

#include "devicestate.h"

#include <QMap>
#include <QObject>
#include <QStringList>

class FaultSwitches;
class LineChannel;
struct ConsoleCommand;

// The console protocol of one connection, in two phases:
//   1. awaiting login: the banner is sent; only `connect` is served;
//   2. logged in: sub, unsub, set, get, asyncget, lc and ls; a line that is a JSON object (a
//      reconfiguration) is handed on by jsonLineReceived().
// A `write` (a file written to the device, the firmware upload) needs no login: the session hands
// it on with writeAnnounced().
// Subscriptions belong to the connection and are keyed by the exact path the client wrote, so
// "\\Preset\A\SV\B\%" and "\\Preset\A\SV\B\" are two subscriptions, each fed in its own form.
class ConsoleSession : public QObject
{
    Q_OBJECT

public:
    ConsoleSession(LineChannel* channel, DeviceState& state, const FaultSwitches& faults,
                   const QString& password, QObject* parent = nullptr);

    LineChannel& channel() const { return *m_channel; }
    QStringList subscriptions() const { return m_subscriptions.keys(); }

    void start();

Q_SIGNALS:
    // `write "TARGET" SIZE`: SIZE bytes of the file TARGET follow on the connection.
    void writeAnnounced(const QString& target, const QString& size);
    void jsonLineReceived(const QString& line);

private:
    enum class Phase { AwaitingLogin, LoggedIn };

    void onLine(const QString& line);
    void login(const ConsoleCommand& command);
    void serve(const ConsoleCommand& command);
    void subscribe(const QString& path, const DeviceState::Address& address);
    void unsubscribe(const QString& path);
    void write(const QString& path, const DeviceState::Address& address, const QString& value);
    void sendList(const QString& word, const QString& path, const QStringList& items);
    void onValueChanged(const StateVariable* variable);
    void sendError(const QString& text);
    QString deviceText(const DeviceState::Address& address) const;

    LineChannel* m_channel;
    DeviceState& m_state;
    const FaultSwitches& m_faults;
    const QString m_password;
    Phase m_phase = Phase::AwaitingLogin;
    QMap<QString, DeviceState::Address> m_subscriptions;
};
