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
// a thousand such libraries, and four files at the ceiling of one tuning file. A quarter of a
// gigabyte left free keeps room for the system and the other programs of a nearly full disk.
constexpr DownloadBudget kCloudUpdateBudget{256LL * 1024 * 1024, 256LL * 1024 * 1024};
