#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpSocket>

// A bare console client for the simulator tests: records every read as it arrived (bytes and
// time) and the lines they make up, and writes lines as they are given.
class ConsoleClient : public QObject
{
    Q_OBJECT

public:
    struct Read
    {
        QByteArray bytes;
        qint64 atMs;
    };

    explicit ConsoleClient(QObject* parent = nullptr);

    bool connectTo(const QString& address, quint16 port = 19272);
    // Waits for the banner, sends the login line and waits for the login answer.
    bool login(const QString& password = QStringLiteral("quillrampstow"));

    void send(const QString& line);
    void sendBytes(const QByteArray& bytes);

    QStringList lines() const { return m_lines; }
    QList<Read> reads() const { return m_reads; }
    QByteArray receivedBytes() const;
    qint64 elapsedMs() const { return m_clock.elapsed(); }
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

    bool waitForLine(const QString& line);
    bool waitForLineCount(int count);
    bool waitForDisconnected();
    // Quiet until probe: sends qx8test::kProbeRequest, waits for its answer and returns the lines
    // received before it, from the `from`th line on.
    QStringList linesUntilProbe(int from);
    // Index of the first received line equal to `line`, or -1.
    int indexOf(const QString& line) const { return m_lines.indexOf(line); }

private:
    void onReadyRead();

    QTcpSocket m_socket;
    QElapsedTimer m_clock;
    QByteArray m_pending;
    QStringList m_lines;
    QList<Read> m_reads;
};
