#include "watchedfifo.h"

#include <QFile>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qx8test {

WatchedFifo::WatchedFifo(const QString& path)
    : m_path(QFile::encodeName(path))
    , m_made(::mkfifo(m_path.constData(), 0600) == 0)
    , m_answerer([this] { answerReaders(); })
{
}

WatchedFifo::~WatchedFifo()
{
    m_done = true;
    m_answerer.join();
    ::unlink(m_path.constData());
}

// Opening the writing end without waiting succeeds only while a reader is there, one already
// waiting in open(2) included; that one then goes on, and its read ends with the writer gone.
void WatchedFifo::answerReaders()
{
    while (!m_done) {
        const int writer = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) {
            ::close(writer);
            m_opened = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

} // namespace qx8test
