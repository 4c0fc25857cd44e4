#pragma once

#include <QDebug>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QPair>
#include <QString>

// The record of one tuning file of the local store, as the tuning screen groups and shows it.
struct FileInfo
{
    static const QString speakerType;   // "SPK": device folder "/SpeakerTunings"
    static const QString amplifierType; // "AMP": device folder "/AmplifierData"

    static const QString notLoaded; // the device holds no file of this name
    static const QString loaded;    // the device holds this name with the same or a later stamp
    static const QString hasUpdate; // the device holds this name with an earlier stamp

    static const QString noChange;
    static const QString willAdd;
    static const QString willRemove;
    static const QString willUpdate;

    QString type;
    QString brand;
    QString series;
    QString state = notLoaded;
    QString action = noChange;
    QString file;

    // Take only the three state words and the four action words; anything else is refused.
    void setState(const QString& word);
    bool setAction(const QString& word);

    bool operator==(const FileInfo& other) const;
};

using FileInfoList = QList<FileInfo>;
// Records grouped by (brand upper-cased, series upper-cased).
using BrandSeriesKey = QPair<QString, QString>;
using BrandSeriesMap = QMap<BrandSeriesKey, FileInfoList>;

QDebug operator<<(QDebug debug, const FileInfo& info);

Q_DECLARE_METATYPE(FileInfo)
Q_DECLARE_METATYPE(FileInfoList)
Q_DECLARE_METATYPE(FileInfoList*)
Q_DECLARE_METATYPE(BrandSeriesMap)

// Registers the record types for queued connections; call before the first one is made.
void registerTuningMetaTypes();
