#pragma once

#include "analyticsqueuefile.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The content killwriter writes and tst_killedwrites checks: each generation a blob of its own
// length and pattern, so a file that mixes two generations, or holds one cut short, is told
// apart from a whole one.
namespace writtenblob {

inline const QString kSettingsBlobKey = QStringLiteral("KillTest/blob");
inline const QString kSettingsKeptKey = QStringLiteral("KillTest/kept");
inline const QString kSettingsKeptValue = QStringLiteral("written once, before the others");
inline const QString kTuningName = QStringLiteral("Custom_Arc_M18_FOH_2018_7_7_12_45.hdf");
inline const QString kImageSuffix = QStringLiteral(".dmg");

QByteArray make(int generation);
// The generation of a whole blob, or -1.
int generationOf(const QByteArray& blob);

QString presetFolder(const QString& dataFolder);
QString presetName(int generation);
QString analyticsQueuePath(const QString& logFolder);
QList<QueryBuffer> hits(int generation);
// The image each generation downloads: odd ones the first, even ones the second.
QString imageVersion(int generation);

} // namespace writtenblob
