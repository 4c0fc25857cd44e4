#pragma once

#include "faultswitches.h"
#include "sendpacer.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <deque>
#include <vector>

class QTcpSocket;
class WireLog;

// The byte side of one console connection: cuts the input into lines (LF or CR LF, UTF-8,
// at most 64 KiB each) and writes output lines, shaped by the fault switches (delay, latency,
// rate, split, merge, CR LF, freeze). Every line in and out goes to the wire log. A file written
// to the device arrives as raw bytes between lines: receiveData() hands that many bytes on as
// they come.
// A line received is answered while lineReceived() is handled: what is queued meanwhile is its
// answer, and the wire log learns when the answer's last byte is written.
class LineChannel : public QObject
{
    Q_OBJECT

public:
    static constexpr int maximumLineLength = 64 * 1024;

    // Takes ownership of the connected socket.
    LineChannel(QTcpSocket* socket, int number, const FaultSwitches& faults, WireLog& log,
                QObject* parent = nullptr);

    int number() const { return m_number; }
    bool isOpen() const { return !m_closed; }

    void sendLine(const QString& line);
    // Bytes as they are, in order with the lines; `logEvent` is what the wire log shows.
    void sendRaw(const QByteArray& bytes, const QString& logEvent);
    // FIN once everything queued so far has been written; nothing more is read or queued.
    void closeWhenSent();
    // FIN now; queued output is dropped.
    void close();
    // RST now.
    void reset();
    // The next `bytes` bytes of input are data: dataReceived() gets them, then lines follow again.
    void receiveData(qint64 bytes) { m_dataLeft = bytes; }

Q_SIGNALS:
    void lineReceived(const QString& line);
    void dataReceived(const QByteArray& data);
    void closed();

private:
    struct Chunk
    {
        QByteArray bytes;
        QString logEvent;
        qint64 due;
        bool endsAnswer = false;
    };

    void readInput();
    void passData();
    void markAnswerEnd(quint64 queuedBefore);
    qint64 dueFromNow() const;
    void enqueue(const QByteArray& bytes, const QString& logEvent, qint64 due);
    void writeDue();
    void logSent(const std::vector<Chunk>& chunks);
    void dropOutput();
    void onFaultChanged(FaultSwitches::Fault fault);
    void finish();
    bool frozen() const { return m_faults.isOn(FaultSwitches::Fault::Freeze); }

    QTcpSocket* m_socket;
    const int m_number;
    const FaultSwitches& m_faults;
    WireLog& m_log;
    QByteArray m_input;
    qint64 m_dataLeft = 0;
    bool m_discardingLongLine = false;
    std::deque<Chunk> m_output;
    int m_frontBytesWritten = 0;
    quint64 m_chunksQueued = 0;
    SendPacer m_pacer;
    QTimer m_writeTimer;
    qint64 m_mergeUntil = 0;
    bool m_closeWhenSent = false;
    bool m_closed = false;
};
