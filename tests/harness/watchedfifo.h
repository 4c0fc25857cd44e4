#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <thread>

namespace qx8test {

// A FIFO at `path` with no writer: whoever opens it to read would wait for ever. A thread of its
// own answers any such reader at once, with nothing (its read ends), and notes that one came, so
// that a test that expects none fails rather than hangs when one does. Removed when it ends.
class WatchedFifo
{
public:
    explicit WatchedFifo(const QString& path);
    ~WatchedFifo();
    WatchedFifo(const WatchedFifo&) = delete;
    WatchedFifo& operator=(const WatchedFifo&) = delete;

    bool isMade() const { return m_made; }
    bool wasOpened() const { return m_opened; }

private:
    void answerReaders();

    const QByteArray m_path;
    const bool m_made;
    std::atomic<bool> m_opened{false};
    std::atomic<bool> m_done{false};
    std::thread m_answerer;
};

} // namespace qx8test
