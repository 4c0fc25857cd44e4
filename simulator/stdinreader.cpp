#include "stdinreader.h"

#include <cerrno>
#include <unistd.h>

StdinReader::StdinReader(QObject* parent)
    : QObject(parent), m_notifier(STDIN_FILENO, QSocketNotifier::Read)
{
    connect(&m_notifier, &QSocketNotifier::activated, this, &StdinReader::onReadable);
}

void StdinReader::onReadable()
{
    char buffer[4096];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR)
        return;
    if (count <= 0) {
        m_notifier.setEnabled(false);
        return;
    }
    m_pending.append(buffer, int(count));
    int end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        Q_EMIT lineRead(QString::fromUtf8(line));
    }
}
