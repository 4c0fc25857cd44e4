#include "peakmemory.h"

#include <QFile>

namespace {

// A "Name:   1234 kB" line of /proc/self/status, in bytes; -1 when it cannot be read.
qint64 statusBytes(const QByteArray& name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name + ':')) {
            bool ok = false;
            const qint64 kib =
                line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong(&ok);
            return ok ? kib * 1024 : -1;
        }
    }
    return -1;
}

} // namespace

PeakMemory::PeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    // 5 sets the peak back to the resident memory of now.
    if (clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1 && clearRefs.flush())
        m_startBytes = statusBytes("VmRSS");
}

qint64 PeakMemory::growth() const
{
    return statusBytes("VmHWM") - m_startBytes;
}
