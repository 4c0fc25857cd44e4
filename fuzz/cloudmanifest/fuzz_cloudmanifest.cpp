// A cloud manifest as any server answering at the cloud address may send it: only tuning names
// come out, one per tuning, and only those are fetched.
#include "cloudmanifest.h"
#include "fuzzsupport.h"
#include "quietqt.h"
#include "safefilename.h"
#include "tuningname.h"

#include <QSet>

namespace {
TuningCatalog* catalog = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzsupport::startQt(argc, argv);
    catalog = new TuningCatalog;
    catalog->setLocalFiles(TuningSide::Speaker,
                           {QStringLiteral("Wuvo_Arc_M8_2021_5_23_3_39.hdf"),
                            QStringLiteral("Altavox_Point_C8_2018_5_23_5_56.hdf"),
                            QStringLiteral("Custom_Arc_M18_FOH_2018_7_7_12_45.hdf")});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList names =
        cloudmanifest::names(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    QSet<QString> tunings;
    for (const QString& name : names) {
        FUZZ_CHECK(tuningname::isTuningName(name));
        FUZZ_CHECK(safefilename::isSafe(name));
        tunings.insert(tuningname::fileName(name));
    }
    FUZZ_CHECK(tunings.size() == names.size());

    const QStringList wanted = cloudmanifest::newerThanLocal(names, TuningSide::Speaker, *catalog);
    for (const QString& name : wanted)
        FUZZ_CHECK(names.contains(name));
    return 0;
}
