#pragma once

#include "presetinfo.h"
#include "qx8control.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <deque>

class FtpClientThread;

// The device's preset memory, for the presets screen. Over the console it stores the device's
// current settings into a numbered slot, recalls a slot, names a slot, and subscribes to the
// names of all slots. Over an FTP session of its own (on a thread of its own) it fetches a slot
// as a file into memory and writes a file into a slot and then names that slot; its slots fetch,
// store, remove, replace and list any file of the device's storage.
//
// Numbers and names are checked before any line is built (presetnames): a refused request is
// reported by error() and sends nothing.
//
// Transfers, in the order asked for, one at a time:
//   waiting  -> (session closed: opened again from the stored device address; without one,
//               the request runs on the unconnected client and fails there) -> running
//   running  -> presetAvailable(), fileList() or actionFinished() (after an upload into a slot,
//               followed by the slot's naming) -> or error()
// Each upload keeps its own slot and name. busy(true, ...) when a transfer starts,
// busy(false, "") once none is left, whatever the outcome.
class PresetProvider : public QX8Control
{
    Q_OBJECT

public:
    explicit PresetProvider(QObject* parent = nullptr);
    ~PresetProvider() override;

    // Console: Store, then the name and RenamePreset.
    void store(const QString& id, const QString& name);
    // Console: the name, then RenamePreset.
    void rename(const QString& id, const QString& name);
    // Console: Recall. The name travels nowhere.
    void recall(const QString& id, const QString& name);
    // Console: a subscription of every slot's name; the answers reach handleDataAvailable().
    void requestAllPresets();

    // FTP: the slot's file into memory, handed over by presetAvailable().
    void fetch(const QString& id);
    // FTP: `data` into the slot's file; once the device holds all of it, the slot is named.
    void transferPreset(const QString& id, const QString& presetName, const QByteArray& data);

Q_SIGNALS:
    void refreshRequestSent();
    void busy(bool state, QString msg);
    void presetAvailable(QByteArray presetData);
    void presetInfoAvailable(PresetInfo& preset);
    void presetNameChanged(QString name, int presetIndex);
    void connected();
    void disconnected();
    void error(QString errorString);
    void fileList(QString dir, QStringList list);
    void fileData(QByteArray data, QString dir, QString fileName);
    void actionFinished();

protected Q_SLOTS:
    void onConnectToHost(QString hostAddress, QString user, QString password);
    void onDisconnectFromHost();
    // A file of the device into memory, handed over by presetAvailable().
    void onGetFile(QString dir, QString fileFullName);
    // `fileData` into a file of the device: actionFinished() once the device holds all of it.
    void onPutFile(QByteArray fileData, QString dir, QString fileFullName);
    void onRemoveFile(QString dir, QString fileFullName);
    // The new file is stored before the old one goes; one actionFinished() for both.
    void onUpdateFile(QByteArray newFileData, QString dir, QString oldFileFullName,
                      QString newFileFullName);
    // The names in a folder of the device, handed over by fileList().
    void onRequestFileList(QString dir);
    void onDataAvailable(DataFromDevice data) override;
    void handleDataAvailable(DataFromDevice data) override;

private:
    struct Transfer
    {
        enum class Kind { Get, Put, Remove, Update, List };

        Transfer(Kind kind, const QString& busyText, const QString& dir,
                 const QString& file = QString(), const QByteArray& data = QByteArray())
            : kind(kind), busyText(busyText), dir(dir), file(file), data(data)
        {
        }

        Kind kind;
        QString busyText;
        QString dir;
        QString file; // the new file of an Update
        QString oldFile;
        QByteArray data;
        // An upload into a slot: the slot named once its file is stored.
        QString slotId;
        QString slotName;
    };
    enum class Session { Closed, Opening, Open };

    bool acceptsId(const QString& id);
    bool acceptsName(const QString& name);
    void refuse(const QString& text);
    void sendSet(const QString& variable, const QString& value) const;
    void openSession();
    void enqueue(Transfer transfer);
    void startNext();
    void issue(const Transfer& transfer);
    void finishCurrent();
    bool currentIs(Transfer::Kind kind) const;
    void onSessionConnected();
    void onSessionDisconnected();
    void onSessionError(const QString& text);
    void onFileData(const QByteArray& data);
    void onFileList(const QString& dir, const QStringList& list);
    void onActionFinished();
    static QString nameVariable(int id);

    FtpClientThread* m_ftp;
    QString m_deviceAddress;
    Session m_session = Session::Closed;
    std::deque<Transfer> m_transfers; // the running one first
    bool m_running = false;           // the first one has been handed to the session
    bool m_namesSubscribed = false;
};
