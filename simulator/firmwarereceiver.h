#pragma once

#include "firmwareimage.h"

#include <QFile>
#include <QObject>

class FaultSwitches;
class FirmwareStore;
class LineChannel;
class WireLog;

// One firmware image written to the device over a console connection, which needs no login:
//   1. `write "file\updKaloTar" <size> ` announces it;
//   2. the device answers "writer OK" in one write (or refuses, or stays silent, by fault switch);
//   3. exactly <size> bytes follow, stored in the firmware folder and checked as they come;
//   4. a good image is installed: the device reports its version. Lines follow again.
// With the drop switch the device closes the connection when half the image has arrived.
class FirmwareReceiver : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 kMaximumImageSize = 1024LL * 1024 * 1024;

    // Lives as a child of the channel; deletes itself once the image is in or the connection
    // gone.
    FirmwareReceiver(LineChannel& channel, FirmwareStore& store, const FaultSwitches& faults,
                     WireLog& log);

    void start(const QString& target, const QString& size);

private:
    void onData(const QByteArray& data);
    void complete();
    void drop();
    void note(const QString& event);

    LineChannel& m_channel;
    FirmwareStore& m_store;
    const FaultSwitches& m_faults;
    WireLog& m_log;
    QFile m_file;
    QString m_path;
    FirmwareImage m_image;
    qint64 m_announced = 0;
    qint64 m_received = 0;
};
