#pragma once

#include <QObject>
#include <QProcess>
#include <QTimer>

class ViewLoader;

// The offline model: the virtual processor run as a child process on 127.0.0.1, started and
// stopped by the screen loader's signals, never blocking the GUI thread. A start while the
// previous process is still ending waits for its end, so the port is free.
//
// Phases: idle -> launching (process started) -> listening (started() emitted) -> stopping
// (terminate sent; killed after kStopGraceMs) -> idle (stopped() emitted).
class OfflineModel : public QObject
{
    Q_OBJECT

public:
    static constexpr int kStopGraceMs = 3000;

    // `program` is the virtual processor's executable.
    explicit OfflineModel(const QString& program, QObject* parent = nullptr);
    ~OfflineModel() override;

    static constexpr const char* kProgramName = "VirtualQX8";

    // QX8_OFFLINE_MODEL when set, else programIn(the application's folder).
    static QString defaultProgram();
    // The virtual processor installed beside the application in `applicationFolder`, else the
    // one of the build tree.
    static QString programIn(const QString& applicationFolder);

    // Wires the loader's start, stop and device-type signals to this model, and this model's
    // notices to the loader.
    void attach(ViewLoader* loader);

    bool isListening() const { return m_listening; }
    QString deviceType() const { return m_deviceType; }

public Q_SLOTS:
    void start();
    void stop();
    // The index, as text, of the simulated device type ("0" Standard, "1" Dante, "2" OrvelLink).
    void setDeviceType(const QString& typeIndex);

Q_SIGNALS:
    void started();
    void stopped();
    void error(QString errorString);

private:
    void launch();
    void onReadyRead();
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onProcessError(QProcess::ProcessError processError);

    QString m_program;
    QString m_deviceType;
    QProcess m_process;
    QTimer m_killTimer;
    QByteArray m_output;
    bool m_startPending = false;
    bool m_listening = false;
    bool m_stopRequested = false;
};
