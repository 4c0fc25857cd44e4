#pragma once

#include "fileinfo.h"
#include "tuningcatalog.h"

#include <QDebug>
#include <QList>
#include <QString>

// One request to the device's tuning folders. The device file is resolved from the device's
// listing when the action is planned, so a removal always names a file the device listed.
struct DeviceAction
{
    enum class Kind { Add, Remove, Update };

    Kind kind;
    QString dir;        // "/SpeakerTunings" or "/AmplifierData"
    QString localFile;  // what Add and Update upload, under this name
    QString deviceFile; // what Remove and Update remove

    // The action word of the tuning screen: "Will Add", "Will Remove" or "Will Update".
    QString word() const;
    // The device folder and the file the action puts there, or removes from there:
    // "/SpeakerTunings/Brand_Series_Model_2014_1_16_19_32.hdf".
    QString path() const;

    bool operator==(const DeviceAction& other) const;
};

using DeviceActionList = QList<DeviceAction>;

// "Will Update /SpeakerTunings/A_B_2021_1_1_1_1.hdf over A_B_2014_1_1_1_1.hdf": the word, the path
// and, when it is another file, the device file removed.
QDebug operator<<(QDebug debug, const DeviceAction& action);

// The device folder of a record's type: "SPK" is the speaker folder, anything else amplifier.
QString deviceFolderOf(const FileInfo& info);

// The actions the user chose, group by group in key order; each group's choice is its first
// record's action, and each record's state is taken afresh from `catalog`:
//   "Will Update": an older device copy is replaced, a missing file added
//   "Will Add":    a missing file is added, an older device copy replaced (never a second copy)
//   "Will Remove": the device copy is removed, older or not
DeviceActionList applyActions(const BrandSeriesMap& groups, const TuningCatalog& catalog);

// What brings the device's folders in line with the (reseeded) local store: every device file
// whose exact name the store lacks is removed, then every local file the device lacks is added;
// speaker files before amplifier files. "Custom" files are never touched.
DeviceActionList resetActions(const std::array<QStringList, 2>& localFiles,
                              const std::array<QStringList, 2>& remoteFiles);
