#pragma once

#include "deviceinfo.h"
#include "peerloglimiter.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <chrono>

class QUdpSocket;

// Finds units on the local IPv4 networks: sends a text query as a UDP broadcast on every usable
// interface, collects the answers of one scan window, reports them and starts over until told
// to stop. A window ends after its quiet interval passes without a new unit; it is never held
// open longer than kMaxWindowFactor quiet intervals, whatever arrives.
//
// Anyone on the network may answer, as often as they like: a window lists at most kMaximumUnits
// units, a field longer than kMaximumFieldLength is cut to that length, the answers are read in
// batches of at most kBatchTime, and what an answer gives to log is logged once a second at
// most, so that a flood neither grows the list, holds the GUI thread nor fills the log.
//
// Subclasses give the query, the window length and what counts as a valid answer.
class BroadcastDiscovery : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 kDiscoveryPort = 19272;
    static constexpr int kMaxWindowFactor = 5;
    static constexpr int kMaximumUnits = 256;
    static constexpr int kMaximumFieldLength = 64;
    static constexpr std::chrono::milliseconds kBatchTime{8};

    ~BroadcastDiscovery() override;

    // Connects the window timer and sends the first query.
    virtual void startScanning();
    // Ends the cycle; the sockets stay open and what still arrives is never reported.
    void stopScanning();
    // Rebuilds the sockets from the interfaces as they are now and sends the query.
    void startBroadcasting();
    // Ends the cycle and closes the sockets.
    void stopBroadcasting();
    virtual void broadcastDatagram();
    // Fills `info` from one answer; true when the answer comes from a unit of the wanted kind.
    virtual bool parseDatagram(const QString& text, DeviceInfo& info) = 0;

    // The lines that ask a unit for its class name, instance name and software version.
    static QStringList identityQueries();
    // An answer datagram's text up to its first NUL byte, as ASCII.
    static QString decodeDatagram(const QByteArray& data);

Q_SIGNALS:
    void deviceList(QMap<QString, DeviceInfo> devices);
    void noDeviceFound();

protected Q_SLOTS:
    void onTimeout();
    void onReadyRead(QObject* sender);

protected:
    // The query datagram is a pause request for the unit, then `queries`, each ended by LF.
    // The i-th answer line fills the i-th field of DeviceInfo after the address.
    BroadcastDiscovery(const QStringList& queries, int windowMs, QObject* parent);

    // Lets the window timer end scan windows (once, however often called).
    void connectScanTimer();

    // Reads the answer lines into the fields, each cut to kMaximumFieldLength (with a log line);
    // false, with a log line, when lines are missing.
    bool readAnswers(const QString& text, DeviceInfo& info);
    const QByteArray& query() const { return m_query; }
    int windowMs() const { return m_windowMs; }

private:
    struct BroadcastSocket
    {
        QUdpSocket* socket;
        QHostAddress broadcast;
    };

    bool hasBroadcastAddress(const QHostAddress& broadcast) const;
    void closeSockets();
    void extendWindow();

    QList<BroadcastSocket> m_sockets;
    QMap<QString, DeviceInfo> m_found;
    // Answers of further units this window, past kMaximumUnits.
    int m_unitsOverLimit = 0;
    const QStringList m_queries;
    const QByteArray m_query;
    PeerLogLimiter m_incompleteAnswers;
    PeerLogLimiter m_cutAnswers;
    QTimer m_scanTimer;
    QElapsedTimer m_windowClock;
    const int m_windowMs;
};
