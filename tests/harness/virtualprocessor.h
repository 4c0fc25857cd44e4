#pragma once

#include "wireexchanges.h"

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <optional>

// Runs one VirtualQX8 process for a test: on a loopback address of its own (unless the test
// passes --address), with its wire log and its storage folder in the test's temporary folder,
// and talks to its control channel on standard input and output. Its FTP server runs only when
// the test passes --ftp-port (21: the port the application uses), with its command log beside
// the wire log. The wire log is kept with times (--wire-log-times); wireLog() gives it without.
class VirtualProcessor : public QObject
{
    Q_OBJECT

public:
    explicit VirtualProcessor(QObject* parent = nullptr);
    ~VirtualProcessor() override;

    // Starts the process and waits until it listens; tries other addresses while the chosen one
    // is taken (exit code 3). False when it did not come up.
    bool start(const QStringList& extraArguments = {});
    // Terminates the process, then kills it if it does not end in time.
    void stop();

    QString address() const { return m_address; }
    QString wireLogPath() const { return m_wireLogPath; }
    // The device's storage: presets/ (its preset slots) and what a test puts there.
    QString storagePath() const { return m_storage.path(); }
    // Every FTP command line the device received so far.
    QStringList ftpCommands() const;
    // Every line of the wire log so far.
    QStringList wireLog() const;
    // The same with each entry's time in front and the ends of answers marked.
    QStringList timedWireLog() const;
    // Every console request so far with its answer.
    QList<WireExchange> exchanges() const { return wireExchanges(timedWireLog()); }
    // The text of every line received from clients, all connections, in order.
    QStringList received() const;
    bool waitForReceived(const QString& line);
    // Quiet until probe: `sendProbe` sends qx8test::kProbeRequest through the connection under
    // test. Waits until the device has answered it and returns the lines clients sent before it,
    // from the `from`th received line on, probes left out.
    QStringList receivedUntilProbe(const std::function<void()>& sendProbe, int from = 0);
    // The number of received lines once everything clients sent before the probe has arrived:
    // a starting point that lines still on their way from earlier work do not pass.
    int receivedCountAfterProbe(const std::function<void()>& sendProbe);

    // Sends one control command and returns its answer line ("ok ..." or "error ..."), or an
    // empty text when no answer came in time.
    QString command(const QString& line);
    // A slow link from now on (0: full speed): the console sends `bytesPerSecond`, each reply no
    // sooner than `latencyMs` after its request. False when the device refused either.
    bool setConsoleLink(int bytesPerSecond, int latencyMs = 0);

private:
    enum class Outcome { Listening, AddressTaken, Failed };

    Outcome startOnce(const QStringList& arguments);
    // The lines received before the probe number `probe` (counted from 1), once it is answered.
    std::optional<QStringList> receivedBeforeAnsweredProbe(int probe, int from) const;
    void readOutput();

    QProcess m_process;
    QString m_address;
    QString m_wireLogPath;
    QTemporaryDir m_storage;
    QByteArray m_pendingOutput;
    QStringList m_outputLines;
};
