#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class ConsoleSession;
class DeviceState;
class FaultSwitches;
class FirmwareStore;
class LineChannel;
class WireLog;

// Accepts console connections and gives each a session; numbers them from 1 for the wire log.
class ConsoleServer : public QObject
{
    Q_OBJECT

public:
    ConsoleServer(DeviceState& state, const FaultSwitches& faults, WireLog& log,
                  FirmwareStore& firmware, const QString& password, QObject* parent = nullptr);

    bool listen(const QHostAddress& address, quint16 port, QString* error);

    int connectionCount() const { return m_sessions.size(); }
    // The subscribed paths of every connection, sorted (a path subscribed by two connections
    // appears twice).
    QStringList subscriptions() const;

    void sendToAll(const QByteArray& bytes, const QString& logEvent);
    void closeAll();
    void resetAll();

Q_SIGNALS:
    // A JSON line from a logged-in connection, to be answered on `channel`.
    void jsonLineReceived(const QString& line, LineChannel* channel);

private:
    void onNewConnection();

    QTcpServer m_server;
    DeviceState& m_state;
    const FaultSwitches& m_faults;
    WireLog& m_log;
    FirmwareStore& m_firmware;
    const QString m_password;
    int m_connectionsSoFar = 0;
    QList<ConsoleSession*> m_sessions;
};
