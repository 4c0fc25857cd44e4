#pragma once

#include <QString>

// The folder where an updater keeps downloaded images, named by version and an optional suffix
// ("1.1.7.dmg", "2.5.0"). A download runs into the name with ".tmp" appended and is renamed when
// complete; the cache then keeps that one image and records its name and size in a hidden file,
// so that a partial, truncated or foreign file is never offered as an image.
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
    // The file name of the recorded image when it is complete; empty otherwise.
    QString completeImageName() const;
    // The version an image file name stands for (the name without the suffix).
    QString versionOf(const QString& imageName) const;

    // Makes sure the folder exists (a download into it reports when it cannot).
    void prepare() const;
    // Removes whatever lies under the name the image of `version` downloads into: a download cut
    // short, or anything else, a folder with all it holds, so that nothing left there fails every
    // later download. A link goes itself, never what it leads to.
    void clearPartial(const QString& version) const;
    // After a completed download: records the image of `version` and deletes every other file.
    void keepOnly(const QString& version) const;
    // Deletes every file, partial downloads and the record included.
    void clear() const;

    // The hidden record of the complete image: its file name, then its size, a line each. Only
    // its first kMaximumRecordSize bytes are read.
    static constexpr int kMaximumRecordSize = 4096;
    struct Record
    {
        QString name;
        qint64 size = -1;
    };
    static QByteArray formatRecord(const Record& record);
    // A record that does not read as one gives no name and the size -1.
    static Record parseRecord(const QByteArray& bytes);

private:
    QString recordPath() const;
    Record readRecord() const;

    QString m_folder;
    QString m_suffix;
};
