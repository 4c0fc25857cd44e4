#pragma once

#include <QString>

class QX8Settings;

// Copies, once per installation, the preset files that the sandboxed edition of the application
// kept in its container into the data folder's preset folder.
class PresetMigration
{
public:
    PresetMigration(const QString& sourceFolder, const QString& targetFolder);

    // The sandboxed edition's preset folder under the user's home folder.
    static QString sandboxPresetFolder();

    // Runs only while the done key is absent, and sets it first: a failed copy is not retried.
    void runOnce(QX8Settings& settings) const;

private:
    void copyMissingFiles() const;

    QString m_sourceFolder;
    QString m_targetFolder;
};
