#pragma once

#include <QtGlobal>

// What the downloads of one run may take of the disk.
struct DownloadBudget
{
    // The decoded bytes of all its files together, kept or not.
    qint64 total;
    // The free space each download leaves on the disk it writes to.
    qint64 freeSpaceMargin;
};

// One cloud tuning update. The whole factory set (503 files) takes less than 200 KB: 256 MiB is
// a thousand such libraries, and four files at the ceiling of one tuning file. The 32 MiB left
// free keep room for the system and the other programs, yet let a nearly full disk still take
// an ordinary update; the total already bounds what a hostile feed can take.
constexpr DownloadBudget kCloudUpdateBudget{256LL * 1024 * 1024, 32LL * 1024 * 1024};
