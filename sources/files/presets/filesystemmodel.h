#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QString>
#include <QStringList>

class QFile;

// The local half of the presets screen: the preset files of the user's preset folder
// (<data>/QX8/Presets; a file's name is the preset's name, its content the device's bytes), and
// what the screen does with them: add a preset fetched from the device, copy, rename, delete,
// read one for the device, and propose a free name.
//
// Every name passes the safe-file-name check and stays inside the folder; a file is opened only
// for what is done with it, so reading a missing one creates nothing. Nothing is ever
// overwritten: a new file is written under a temporary name and renamed into place only when
// nothing of that name exists, not even a link that leads nowhere. Failures are logged and
// reported by error().
class FileSystemModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { ModelPresetName = Qt::UserRole + 1 };
    Q_ENUM(Role)

    explicit FileSystemModel(QObject* parent = nullptr);
    // A model of `folder` instead of the user's preset folder.
    FileSystemModel(const QString& folder, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QString folder() const { return m_folder; }

    Q_INVOKABLE void populateModel();
    Q_INVOKABLE void deletePreset(const QString& deleteFile);
    // Reads the file for the device: presetAvailable() with its bytes.
    Q_INVOKABLE void transfer(const QString& transferFileName);
    // `str` when no row holds it; otherwise the next free name: "Show" -> "Show 2", "Gig 9" ->
    // "Gig 10", "12" -> " 13", trying on until one is free.
    Q_INVOKABLE QString availablePresetName(const QString& str) const;
    // Whether `name` can name a preset file (no separator, not hidden, no control character).
    Q_INVOKABLE bool isValidFileName(const QString& name) const;
    Q_INVOKABLE void copy(const QString& fromFile, const QString& toFile);
    Q_INVOKABLE void rename(const QString& fileName, const QString& newName);
    Q_INVOKABLE void addPresetToFileSystem(const QString& fileName, const QByteArray& presetConfig);

    // After a rename: the rows afresh, and the new name's row by indexOfEditedPreset().
    void updateNameInConfig(const QString& name);

Q_SIGNALS:
    void busy(bool busy, const QString& msg);
    // Nothing emits it: a file goes to the device as bytes, by presetAvailable().
    void transferPresetToDevice(const QString& config);
    void presetAvailable(const QByteArray& configData);
    void presetDeleted(const QString& deleteFile);
    void indexOfEditedPreset(int editedPresetNum);
    void error(const QString& message);

public Q_SLOTS:
    void clearModel();
    void addPreset(const QString& PresetData);

private:
    // The file's path in the folder, or empty (reported, as what `action` could not do) when the
    // name may not be used.
    QString pathOf(const QString& name, const QString& action);
    bool readPreset(const QString& name, QByteArray* bytes);
    QString renameTarget(const QString& fileName, const QString& newName, QFile& file);
    bool writeNewFile(const QString& path, const QByteArray& bytes, QString* reason) const;
    void fail(const QString& logText, const QString& message);
    void busyOff();

    QString m_folder;
    QStringList m_names;
};
