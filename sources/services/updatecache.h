#pragma once

#include <QString>

// The folder where an updater keeps downloaded images, named by version and an optional suffix
// ("1.1.7.dmg", "2.5.0"). A download runs into the name with ".tmp" appended and is renamed when
// complete; the cache then keeps that one image and records its size in a hidden file, so that
// a partial, truncated or foreign file is never offered as an image.
class UpdateCache
{
public:
    UpdateCache(const QString& folder, const QString& suffix);

    QString folder() const { return m_folder; }
    // Where the image of `version` lies, or an empty text when the version cannot name a file of
    // its own in the folder.
    QString imagePath(const QString& version) const;
    // True when the image of `version` is complete: the recorded one, with its recorded size.
    bool hasImage(const QString& version) const;
    // The last file name in text order (partial downloads left out) when it is a complete image;
    // empty otherwise.
    QString lastImageName() const;
    // The version an image file name stands for (the name without the suffix).
    QString versionOf(const QString& imageName) const;

    // Makes sure the folder exists; false when it cannot be made.
    bool prepare() const;
    // After a completed download: records the image of `version` and deletes every other file.
    void keepOnly(const QString& version) const;
    // Deletes every file, partial downloads and the record included.
    void clear() const;

private:
    QString recordPath() const;

    QString m_folder;
    QString m_suffix;
};
