// Tuning file names from the device's listing, a cloud manifest or the user: the naming rule,
// the stamp order and the safe-name check every one of them passes before touching the disk.
#include "fuzzsupport.h"
#include "quietqt.h"
#include "safefilename.h"
#include "tuningname.h"

#include <QDir>
#include <QTemporaryDir>

namespace {
QTemporaryDir* folder = nullptr;

void checkName(const QString& name)
{
    const bool safe = safefilename::isSafe(name);
    if (safe) {
        FUZZ_CHECK(!name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')));
        FUZZ_CHECK(!name.startsWith(QLatin1Char('.')));
        const QString path = safefilename::pathInFolder(folder->path(), name);
        FUZZ_CHECK(path.isEmpty() || path.startsWith(folder->path() + QLatin1Char('/')));
    } else {
        FUZZ_CHECK(safefilename::pathInFolder(folder->path(), name).isEmpty());
    }

    tuningname::timeStamp(name);
    FUZZ_CHECK(!tuningname::isEarlier(name, name));
    if (!tuningname::isTuningName(name))
        return;
    FUZZ_CHECK(safe);
    FUZZ_CHECK(tuningname::stamp(name).has_value());
    // Name, stamp and suffix are the whole of it.
    FUZZ_CHECK(tuningname::fileName(name) + QLatin1Char('_') + tuningname::timeStampString(name) +
                   QLatin1Char('.') + tuningname::suffix(name) ==
               name);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzsupport::startQt(argc, argv);
    folder = new QTemporaryDir;
    return folder->isValid() ? 0 : 1;
}

// Two names, one a line: each checked, and the order of their stamps must be strict.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const int split = text.indexOf(QLatin1Char('\n'));
    const QString first = split < 0 ? text : text.left(split);
    const QString second = split < 0 ? QString() : text.mid(split + 1);
    checkName(first);
    checkName(second);
    FUZZ_CHECK(!(tuningname::isEarlier(first, second) && tuningname::isEarlier(second, first)));
    return 0;
}
