#include "linechannel.h"

#include "wirelog.h"

#include <QTcpSocket>

#include <sys/socket.h>

namespace {

constexpr qint64 splitPauseMs = 50;
constexpr qint64 mergeWindowMs = 100;

} // namespace

LineChannel::LineChannel(QTcpSocket* socket, int number, const FaultSwitches& faults, WireLog& log,
                         QObject* parent)
    : QObject(parent), m_socket(socket), m_number(number), m_faults(faults), m_log(log)
{
    m_socket->setParent(this);
    m_pacer.setRate(m_faults.value(FaultSwitches::Fault::ConsoleRate), m_log.elapsedMs());
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_writeTimer, &QTimer::timeout, this, &LineChannel::writeDue);
    connect(m_socket, &QTcpSocket::readyRead, this, &LineChannel::readInput);
    connect(m_socket, &QTcpSocket::disconnected, this, &LineChannel::finish);
    connect(&m_faults, &FaultSwitches::changed, this, &LineChannel::onFaultChanged);
    m_log.write(QString::number(m_number), "connected");
}

void LineChannel::readInput()
{
    if (m_closed || m_closeWhenSent || frozen())
        return;
    m_input += m_socket->readAll();
    while (!m_closed && !m_closeWhenSent && !frozen()) {
        if (m_dataLeft > 0) {
            if (m_input.isEmpty())
                return;
            passData();
            continue;
        }
        const int end = m_input.indexOf('\n');
        if (end < 0) {
            if (m_input.size() > maximumLineLength) {
                m_input.clear();
                if (!m_discardingLongLine)
                    sendLine("error line too long");
                m_discardingLongLine = true;
            }
            return;
        }
        QByteArray bytes = m_input.left(end);
        m_input.remove(0, end + 1);
        if (m_discardingLongLine || bytes.size() > maximumLineLength) {
            if (!m_discardingLongLine)
                sendLine("error line too long");
            m_discardingLongLine = false;
            continue;
        }
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        const QString line = QString::fromUtf8(bytes);
        m_log.write(QString::number(m_number), "RX " + line);
        const quint64 queuedBefore = m_chunksQueued;
        Q_EMIT lineReceived(line);
        markAnswerEnd(queuedBefore);
    }
}

// A request answered later (a reconfiguration) or not at all counts as answered at once.
void LineChannel::markAnswerEnd(quint64 queuedBefore)
{
    if (m_chunksQueued != queuedBefore && !m_output.empty())
        m_output.back().endsAnswer = true;
    else
        m_log.writeAnswered(QString::number(m_number));
}

// Hands on the data part of the input without copying the common case of a whole read.
void LineChannel::passData()
{
    QByteArray data;
    if (m_input.size() <= m_dataLeft) {
        data.swap(m_input);
    } else {
        data = m_input.left(int(m_dataLeft));
        m_input.remove(0, int(m_dataLeft));
    }
    m_dataLeft -= data.size();
    Q_EMIT dataReceived(data);
}

void LineChannel::sendLine(const QString& line)
{
    const QByteArray bytes =
        line.toUtf8() + (m_faults.isOn(FaultSwitches::Fault::Crlf) ? "\r\n" : "\n");
    const qint64 due = dueFromNow();
    if (m_faults.isOn(FaultSwitches::Fault::SplitLines)) {
        const int half = bytes.size() / 2;
        enqueue(bytes.left(half), QString(), due);
        enqueue(bytes.mid(half), "TX " + line, due + splitPauseMs);
    } else {
        enqueue(bytes, "TX " + line, due);
    }
}

void LineChannel::sendRaw(const QByteArray& bytes, const QString& logEvent)
{
    enqueue(bytes, logEvent, dueFromNow());
}

// Answers are queued as their request is read, so the latency counts from the request.
qint64 LineChannel::dueFromNow() const
{
    return m_log.elapsedMs() + m_faults.value(FaultSwitches::Fault::Delay) +
           m_faults.value(FaultSwitches::Fault::ConsoleLatency);
}

// Chunks leave in the order they came. Merging opens a window with the first chunk and holds
// everything that comes within it until the window ends.
void LineChannel::enqueue(const QByteArray& bytes, const QString& logEvent, qint64 due)
{
    if (m_closed || m_closeWhenSent)
        return;
    if (m_faults.isOn(FaultSwitches::Fault::MergeLines)) {
        if (m_mergeUntil <= m_log.elapsedMs())
            m_mergeUntil = m_log.elapsedMs() + mergeWindowMs;
        due = qMax(due, m_mergeUntil);
    }
    if (!m_output.empty())
        due = qMax(due, m_output.back().due);
    m_output.push_back({bytes, logEvent, due});
    ++m_chunksQueued;
    writeDue();
}

// Everything due goes in one write, as much of it as the rate allows; a chunk cut short by the
// rate goes on at the next write.
void LineChannel::writeDue()
{
    if (m_closed || frozen())
        return;
    const qint64 now = m_log.elapsedMs();
    qint64 allowance = m_pacer.allowance(now);
    QByteArray batch;
    std::vector<Chunk> sent;
    while (!m_output.empty() && m_output.front().due <= now && allowance > 0) {
        Chunk& chunk = m_output.front();
        const int piece = int(qMin<qint64>(allowance, chunk.bytes.size() - m_frontBytesWritten));
        batch += chunk.bytes.mid(m_frontBytesWritten, piece);
        allowance -= piece;
        m_frontBytesWritten += piece;
        if (m_frontBytesWritten < chunk.bytes.size())
            break;
        m_frontBytesWritten = 0;
        sent.push_back(std::move(chunk));
        m_output.pop_front();
    }
    // Logged before the flush: a peer gone meanwhile is noticed there, and its "closed" must
    // come after what was written to it.
    if (!batch.isEmpty()) {
        m_socket->write(batch);
        m_pacer.spend(batch.size());
    }
    logSent(sent);
    if (!batch.isEmpty())
        m_socket->flush();
    if (m_closed)
        return;
    if (!m_output.empty())
        m_writeTimer.start(
            int(qMax<qint64>(m_output.front().due - now, m_pacer.msUntilNextWrite())));
    else if (m_closeWhenSent)
        m_socket->disconnectFromHost();
}

void LineChannel::logSent(const std::vector<Chunk>& chunks)
{
    const QString source = QString::number(m_number);
    for (const Chunk& chunk : chunks) {
        if (!chunk.logEvent.isEmpty())
            m_log.write(source, chunk.logEvent);
        if (chunk.endsAnswer)
            m_log.writeAnswered(source);
    }
}

void LineChannel::dropOutput()
{
    m_output.clear();
    m_frontBytesWritten = 0;
    m_writeTimer.stop();
}

void LineChannel::closeWhenSent()
{
    m_closeWhenSent = true;
    writeDue();
}

void LineChannel::close()
{
    dropOutput();
    m_socket->disconnectFromHost();
}

void LineChannel::reset()
{
    if (m_closed)
        return;
    // A zero linger time makes the close an RST instead of a FIN.
    const linger resetOnClose{1, 0};
    ::setsockopt(int(m_socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &resetOnClose,
                 sizeof resetOnClose);
    m_socket->abort();
    finish();
}

void LineChannel::onFaultChanged(FaultSwitches::Fault fault)
{
    if (fault == FaultSwitches::Fault::ConsoleRate) {
        m_pacer.setRate(m_faults.value(fault), m_log.elapsedMs());
        writeDue();
    }
    if (fault != FaultSwitches::Fault::Freeze || frozen())
        return;
    writeDue();
    readInput();
}

void LineChannel::finish()
{
    if (m_closed)
        return;
    m_closed = true;
    dropOutput();
    m_log.write(QString::number(m_number), "closed");
    Q_EMIT closed();
}
