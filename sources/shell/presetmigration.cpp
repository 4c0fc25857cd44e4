#include "presetmigration.h"

#include "qx8settings.h"
#include "regularfile.h"
#include "settingskeys.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QStandardPaths>

namespace {
const char* const kBundleIdentifier = "com.velmor.spandrellqx8";
}

PresetMigration::PresetMigration(const QString& sourceFolder, const QString& targetFolder)
    : m_sourceFolder(sourceFolder), m_targetFolder(targetFolder)
{
}

QString PresetMigration::sandboxPresetFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::HomeLocation) +
           QStringLiteral("/Library/Containers/") + QLatin1String(kBundleIdentifier) +
           QStringLiteral("/Data/Library/Caches/Presets");
}

void PresetMigration::runOnce(QX8Settings& settings) const
{
    if (settings.contains(settingskeys::kPresetsCopy))
        return;
    settings.setValue(settingskeys::kPresetsCopy, QStringLiteral("true"));
    copyMissingFiles();
}

// Files already in the target stay as they are; sub-folders are not copied. The listing holds
// links to anything, and a link to a FIFO would hold the copy, and the start, for ever.
void PresetMigration::copyMissingFiles() const
{
    const QStringList names =
        QDir(m_sourceFolder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    QDir().mkpath(m_targetFolder);
    for (const QString& name : names) {
        const QString source = m_sourceFolder + QLatin1Char('/') + name;
        const QString target = m_targetFolder + QLatin1Char('/') + name;
        if (QFile::exists(target))
            continue;
        if (!RegularFile::mayBeOpened(source)) {
            qWarning().noquote() << "Preset" << source << "is not a regular file: not copied";
            continue;
        }
        QFile::copy(source, target);
        qDebug().noquote() << target;
    }
}
