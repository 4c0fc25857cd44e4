#pragma once

#include <QtGlobal>

// How far the resident memory of this process rose above what it was at construction, as
// Linux counts it (VmHWM in /proc/self/status, its peak reset through /proc/self/clear_refs):
// a test reads what one operation cost at its worst moment, not just where it ended.
class PeakMemory
{
public:
    PeakMemory();

    // False when the peak could not be reset or read; the growth then means nothing.
    bool isValid() const { return m_startBytes >= 0; }
    // The peak since construction minus the resident memory at construction, in bytes.
    qint64 growth() const;

private:
    qint64 m_startBytes = -1;
};
