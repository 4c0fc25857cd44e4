#pragma once

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>

class DeviceState;
class FaultSwitches;
class WireLog;

// Answers discovery datagrams on the console's address and port. A query is a few lines such
// as "delay 100" and "get \\Node\AT\Class_Name"; the answer is one datagram with one line per
// get, in query order, each repeating the query and adding the value:
//   get "\\Node\AT\Class_Name" "yoxlSpandrellQX8"
// "delay N" asks for a random pause of up to N ms before answering, so that many units
// answering one broadcast do not all answer at once.
class DiscoveryResponder : public QObject
{
    Q_OBJECT

public:
    DiscoveryResponder(DeviceState& state, const FaultSwitches& faults, WireLog& log,
                       QObject* parent = nullptr);

    // Binds the unit's own address, and on a network with broadcasts also the subnet's
    // broadcast address, shared with other units on the same subnet.
    bool bind(const QHostAddress& address, quint16 port, QString* error);

private:
    void readDatagrams(QUdpSocket* socket);
    QByteArray answer(const QByteArray& query, const QString& sender, int* pauseMs);

    DeviceState& m_state;
    const FaultSwitches& m_faults;
    WireLog& m_log;
    QUdpSocket m_unitSocket;
    QUdpSocket m_broadcastSocket;
};
