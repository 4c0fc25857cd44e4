#pragma once

#include "fileinfo.h"

#include <QHash>
#include <QStringList>

#include <array>
#include <functional>

// The two kinds of tuning file, each with its device folder, which doubles as the sub-folder of
// the local store and of the cloud staging area.
enum class TuningSide { Speaker, Amplifier };

namespace tuningside {
extern const QString speakerFolder;   // "/SpeakerTunings"
extern const QString amplifierFolder; // "/AmplifierData"
constexpr std::array<TuningSide, 2> both{TuningSide::Speaker, TuningSide::Amplifier};

// "/SpeakerTunings" (exactly) is the speaker side; every other folder the amplifier side.
TuningSide fromFolder(const QString& dir);
const QString& folder(TuningSide side);
} // namespace tuningside

// What is known of the local store and the device, by name (the file name without its stamp):
// which file of each store carries that name. Pairs each local file with its device copy and
// builds the records the tuning screen shows.
class TuningCatalog
{
public:
    static const QString showAll; // "Show All", the first entry of every brand list
    static const QString custom;  // "Custom": user-defined tunings, never shown or grouped

    // A name met twice keeps the newest local file, and the first device file in list order.
    void setLocalFiles(TuningSide side, const QStringList& files);
    void setRemoteFiles(TuningSide side, const QStringList& files);
    void clearRemote();

    // The exact device file of the same name as `localFile`, or empty.
    QString remoteFileCorrespondsToLocal(const QString& dir, const QString& localFile) const;
    // The exact local file of the same name as `remoteFile`, or empty.
    QString localFileCorrespondsToRemote(const QString& dir, const QString& remoteFile) const;

    // "Not Loaded", "Has Update" (the device copy is older) or "Loaded".
    QString stateOf(const QString& dir, const QString& localFile) const;
    // The record of a local file; its brand joins `brands` unless it is there or "Custom".
    FileInfo getFileInfo(const QString& dir, const QString& localFile, QStringList& brands) const;

    // Records of all local files but "Custom" ones, grouped by (brand, series) upper-cased.
    // `step` runs once per file, "Custom" ones included.
    BrandSeriesMap groupRecords(const QStringList& speakerFiles, const QStringList& amplifierFiles,
                                QStringList& brands, const std::function<void()>& step) const;

    // The order the brand filter shows: sorted ignoring case, then "Show All", "Wuvo" and
    // "Morla" moved to the front where present.
    static void orderBrands(QStringList& brands);

private:
    using NameIndex = QHash<QString, QString>; // name -> file
    static int index(TuningSide side) { return side == TuningSide::Speaker ? 0 : 1; }

    std::array<NameIndex, 2> m_local;
    std::array<NameIndex, 2> m_remote;
};
