#pragma once

#include "presetinfo.h"
#include "qx8control.h"

#include <QByteArray>
#include <QString>

#include <deque>

class FtpClientThread;

// The device's preset memory, for the presets screen. Over the console it stores the device's
// current settings into a numbered slot, recalls a slot, names a slot, and subscribes to the
// names of all slots. Over an FTP session of its own (on a thread of its own) it fetches a slot
// as a file into memory, and writes a file into a slot and then names that slot.
//
// Numbers and names are checked before any line is built (presetnames): a refused request is
// reported by error() and sends nothing.
//
// Transfers, in the order asked for, one at a time:
//   waiting  -> (session closed: opened again from the stored device address) -> running
//   running  -> presetAvailable() or, for an upload, the slot's naming and actionFinished()
//            -> or error()
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
    void busy(bool state, QString msg);
    void presetAvailable(QByteArray presetData);
    void presetInfoAvailable(PresetInfo& preset);
    void presetNameChanged(QString name, int presetIndex);
    void connected();
    void disconnected();
    void error(QString errorString);
    void actionFinished();

protected Q_SLOTS:
    void onConnectToHost(QString hostAddress, QString user, QString password);
    void onDisconnectFromHost();
    void onDataAvailable(DataFromDevice data) override;
    void handleDataAvailable(DataFromDevice data) override;

private:
    struct Transfer
    {
        enum class Kind { Fetch, Upload };
        Kind kind;
        QString id;
        QString name;
        QByteArray data;
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
    void onSessionConnected();
    void onSessionDisconnected();
    void onSessionError(const QString& text);
    void onFileData(const QByteArray& data);
    void onUploaded();
    static QString nameVariable(int id);

    FtpClientThread* m_ftp;
    QString m_deviceAddress;
    Session m_session = Session::Closed;
    std::deque<Transfer> m_transfers; // the running one first
    bool m_running = false;           // the first one has been handed to the session
    bool m_namesSubscribed = false;
};
