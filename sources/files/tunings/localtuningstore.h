#pragma once

#include "tuningcatalog.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <array>

// The local store of tuning files in the data folder, seeded from the factory set in the
// resources, and the cloud staging folders beside it:
//   <data>/QX8/TuningFiles/Local/{SpeakerTunings,AmplifierData}       the local store
//   <data>/TuningFiles/Cloud/{SpeakerTunings,AmplifierData}           staged cloud files
//   <data>/TuningFiles/Cloud/Manifest/{SpeakerTunings,AmplifierData}  staged manifests
// Files whose names do not follow the tuning rule are left alone and never listed.
class LocalTuningStore
{
public:
    static const QString factoryRoot; // ":/TuningFiles/Local"

    explicit LocalTuningStore(const QString& dataFolder);

    QString tuningRoot() const; // <data>/QX8/TuningFiles, what a reset deletes
    QString cloudRoot() const;  // <data>/TuningFiles/Cloud, what a cloud update stages
    QString localFolder(TuningSide side) const;
    QString stagingFolder(TuningSide side) const;
    QString manifestFolder(TuningSide side) const;

    // Creates the folders, copies every factory file whose name the store lacks (a local file
    // of that name stays, whatever its stamp), and reads the store again.
    void serializeFactoryTunings();
    // Reads both local folders: tuning names only, sorted ignoring case.
    void rescan();
    const QStringList& files(TuningSide side) const { return m_files[index(side)]; }

    // Writes `data` as `fileName` into the side's folder, whole or not at all. Returns an
    // error text, empty on success.
    QString write(TuningSide side, const QString& fileName, const QByteArray& data) const;
    // Writes `fileName`, then removes `replacedFile` (the local file of the same name) when it
    // is another file. Returns an error text, empty on success.
    QString addOrReplaceLocalFile(TuningSide side, const QString& fileName, const QByteArray& data,
                                  const QString& replacedFile) const;
    // Moves the staged cloud file `fileName` into the store, by addOrReplaceLocalFile(). Returns
    // an error text, empty on success.
    QString updateCloudFileToLocal(TuningSide side, const QString& fileName,
                                   const QString& replacedFile) const;
    // Deletes what cloud updates staged, manifests included.
    void clearStaging() const;
    // The whole file, or an error text in `error`.
    QByteArray read(TuningSide side, const QString& fileName, QString* error) const;

private:
    static int index(TuningSide side) { return side == TuningSide::Speaker ? 0 : 1; }

    QString m_dataFolder;
    std::array<QStringList, 2> m_files;
};

// Deletes a folder tree without following links into other folders. Hidden entries stay, and
// so do the folders that hold them. Failures are logged and leave the entry in place.
void removeDirectoryRecursively(const QDir& dir);

// The tuning files of a folder: file entries whose names follow the rule, sorted ignoring case.
QStringList tuningFilesIn(const QString& folder);
