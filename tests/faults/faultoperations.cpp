#include "faultoperations.h"

#include "fwupdateuploader.h"
#include "presetprovider.h"
#include "qx8textsv.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "tuningfilemanager.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using faultplan::FaultEvent;
using faultplan::Operation;
using namespace std::chrono_literals;

namespace {

const QString kControlObject = QStringLiteral("HighPEQ");
const QString kApplicationVersion = QStringLiteral("1.1.7");
const QString kFirmwareVersion = QStringLiteral("2.5.0");
const QString kFirmwareImageName = QStringLiteral("QX8-2.5.0.img");
constexpr std::chrono::milliseconds kUploadStallLimit = 1000ms;

QString controlVariable(quint32 variant)
{
    return QStringLiteral("Band_%1_Gain").arg(variant % 8 + 1);
}

// The number a device value text starts with ("4.5dB": 4.5).
std::optional<double> leadingNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(-?[0-9]+(\\.[0-9]+)?)"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toDouble();
}

bool waitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, qx8test::timeoutMs());
}

template<typename Object> Object* keep(FaultContext& context, std::unique_ptr<Object> object)
{
    Object* kept = object.get();
    context.spent.push_back(std::move(object));
    return kept;
}

// The object's error signal is a failure of the running operation of `log`.
template<typename Sender> void failOnError(Sender* sender, OutcomeLog& log)
{
    QObject::connect(sender, &Sender::error, sender,
                     [&log](const QString& text) { log.failure(text); });
}

bool isApplication(Operation operation)
{
    return operation == Operation::ApplicationCheck || operation == Operation::ApplicationDownload;
}

} // namespace

FaultOperations::FaultOperations(FaultContext& context) : m_context(context) {}

int FaultOperations::limitMs(Operation operation)
{
    switch (operation) {
    case Operation::LinkLogin:
    case Operation::ControlWrite:
        return 2 * FaultContext::kConnectTimeoutMs + 1500;
    case Operation::ApplicationCheck:
    case Operation::FirmwareCheck:
        return 2 * int(FaultContext::kStallLimit.count()) + 1500;
    case Operation::ApplicationDownload:
    case Operation::FirmwareDownload:
    case Operation::FirmwareUpload:
        return 4 * int(FaultContext::kStallLimit.count()) + 2000;
    case Operation::PresetFetch:
    case Operation::PresetUpload:
        return 8000;
    case Operation::TuningSync:
        return 15000;
    }
    return 0;
}

OutcomeLog& FaultOperations::logOf(Operation operation)
{
    switch (operation) {
    case Operation::LinkLogin:
    case Operation::ControlWrite:
        return m_context.link;
    case Operation::PresetFetch:
    case Operation::PresetUpload:
        return m_context.presets;
    case Operation::TuningSync:
        return m_context.tunings;
    case Operation::ApplicationCheck:
    case Operation::ApplicationDownload:
        return m_context.applicationUpdates;
    case Operation::FirmwareCheck:
    case Operation::FirmwareDownload:
        return m_context.firmwareUpdates;
    case Operation::FirmwareUpload:
        return m_context.firmwareUpload;
    }
    Q_UNREACHABLE();
}

QString FaultOperations::logOut()
{
    TCPAdaptor* adaptor = TCPAdaptor::instance();
    adaptor->doDisconnect();
    if (!waitFor([adaptor] {
            return !adaptor->isConnected() && adaptor->phase() == TCPAdaptor::Phase::Idle;
        }))
        return QStringLiteral("the link did not log out");
    return QString();
}

QString FaultOperations::logIn()
{
    TCPAdaptor* adaptor = TCPAdaptor::instance();
    if (adaptor->Ready())
        return QString();
    if (const QString failure = logOut(); !failure.isEmpty())
        return failure;
    m_context.preparing = true;
    adaptor->doConnect();
    const bool ready = waitFor([adaptor] { return adaptor->Ready(); });
    m_context.preparing = false;
    m_context.linkLost = false;
    return ready ? QString() : QStringLiteral("the link did not log in without faults");
}

ImageUpdater& FaultOperations::updaterOf(Operation operation) const
{
    if (isApplication(operation))
        return m_context.applicationUpdater;
    return m_context.firmwareUpdater;
}

// The updater as at start: no version known, nothing cached.
void FaultOperations::resetUpdater(Operation operation)
{
    if (!isApplication(operation))
        m_context.firmwareUpdater.resetAll();
    updaterOf(operation).clearCache();
}

QString FaultOperations::checkVersion(Operation operation) const
{
    const QString found = updaterOf(operation).latestVersion();
    return found == (isApplication(operation) ? kApplicationVersion : kFirmwareVersion)
               ? QString()
               : QStringLiteral("the check found \"%1\"").arg(found);
}

QString FaultOperations::checkForUpdate(Operation operation)
{
    m_context.preparing = true;
    resetUpdater(operation);
    updaterOf(operation).checkForUpdate();
    waitFor([&] { return checkVersion(operation).isEmpty(); });
    m_context.preparing = false;
    const QString wrong = checkVersion(operation);
    return wrong.isEmpty() ? QString() : wrong + QStringLiteral(" without faults");
}

QString FaultOperations::putFirmwareImage()
{
    const QString folder = m_context.firmwareUpdater.cacheFolder();
    const QByteArray image = m_context.peers.cloud().file(faultplan::cloudpath::firmwareImage);
    QFile file(folder + QLatin1Char('/') + kFirmwareImageName);
    if (image.isEmpty() || !QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
        file.write(image) != image.size())
        return QStringLiteral("the firmware image could not be put in the cache");
    return QString();
}

QString FaultOperations::prepare(const faultplan::Step& step)
{
    m_expectedContent.clear();
    m_fetchedContent.clear();
    switch (step.operation) {
    case Operation::LinkLogin:
        return logOut();
    case Operation::ControlWrite:
        return bindControl(step);
    case Operation::ApplicationDownload:
    case Operation::FirmwareDownload:
        return checkForUpdate(step.operation);
    case Operation::FirmwareUpload:
        return putFirmwareImage();
    case Operation::ApplicationCheck:
    case Operation::FirmwareCheck:
        resetUpdater(step.operation);
        return QString();
    case Operation::PresetFetch:
    case Operation::PresetUpload:
    case Operation::TuningSync:
        return QString();
    }
    return QString();
}

OutcomeLog& FaultOperations::start(const faultplan::Step& step, int index)
{
    OutcomeLog& log = logOf(step.operation);
    log.begin(index);
    switch (step.operation) {
    case Operation::LinkLogin:
        m_context.loginIsOutcome = true;
        TCPAdaptor::instance()->doConnect();
        break;
    case Operation::ControlWrite:
        startControlWrite(step);
        break;
    case Operation::PresetFetch:
        startPresetFetch(step);
        break;
    case Operation::PresetUpload:
        startPresetUpload(step);
        break;
    case Operation::TuningSync:
        TuningFileManager::instance()->initialize(m_context.peers.device().address());
        break;
    case Operation::ApplicationCheck:
    case Operation::FirmwareCheck:
        updaterOf(step.operation).checkForUpdate();
        break;
    case Operation::ApplicationDownload:
    case Operation::FirmwareDownload:
        updaterOf(step.operation).downLoadUpdate();
        break;
    case Operation::FirmwareUpload:
        startFirmwareUpload();
        break;
    }
    return log;
}

// A control bound as a screen binds it, once the device has reported its value.
QString FaultOperations::bindControl(const faultplan::Step& step)
{
    if (const QString failure = logIn(); !failure.isEmpty())
        return failure;
    auto control = std::make_unique<QX8TextSV>();
    control->setPOName(kControlObject);
    control->setSVName(controlVariable(step.variant));
    control->componentCompleted();
    m_control = keep(m_context, std::move(control));
    return waitFor([this] { return m_control->hasDeviceValue(); })
               ? QString()
               : QStringLiteral("the control did not get its value without faults");
}

// The write succeeds when the device reports the written value back.
void FaultOperations::startControlWrite(const faultplan::Step& step)
{
    // A loss reported while the first faults were switched is the write's outcome already.
    if (m_context.linkLost)
        m_context.link.failure(QStringLiteral("the link was lost before the write"));
    QX8TextSV* bound = m_control;
    const double current = leadingNumber(bound->value()).value_or(0);
    int gain = -12 + int((step.variant >> 8) % 25);
    if (gain == current)
        gain = gain == 12 ? -12 : gain + 1;
    m_writtenValue = QString::number(gain);
    QObject::connect(
        TCPAdaptor::instance(), &TCPAdaptor::dataAvailable, bound,
        [this, bound, gain](const DataFromDevice& data) {
            if (bound == m_writtenControl && data.poName == bound->poName() &&
                data.svName == bound->svName() && leadingNumber(data.value) == double(gain)) {
                m_writtenControl = nullptr; // the answer and the subscription both echo it
                m_context.link.success(QStringLiteral("value written"));
            }
        });
    m_writtenControl = bound;
    bound->setValue(m_writtenValue);
}

void FaultOperations::startPresetFetch(const faultplan::Step& step)
{
    const QList<int>& filled = FaultPeers::filledSlots;
    m_presetSlot = filled.at(int(step.variant % quint32(filled.size())));
    QFile slotFile(m_context.peers.slotFile(m_presetSlot));
    if (slotFile.open(QIODevice::ReadOnly))
        m_expectedContent = slotFile.readAll();
    PresetProvider* provider = keep(m_context, std::make_unique<PresetProvider>());
    OutcomeLog& log = m_context.presets;
    QObject::connect(provider, &PresetProvider::presetAvailable, provider,
                     [this, &log](const QByteArray& data) {
                         m_fetchedContent = data;
                         log.success(QStringLiteral("preset fetched"));
                     });
    failOnError(provider, log);
    provider->fetch(QString::number(m_presetSlot));
}

// An upload reports no success of its own: the busy notice ends without an error.
void FaultOperations::startPresetUpload(const faultplan::Step& step)
{
    m_presetSlot = 20 + int(step.variant % 10);
    m_expectedContent = "QX8 preset 1\n";
    for (quint32 line = 0; line < 100 + step.variant % 2000; ++line)
        m_expectedContent += "\\\\Preset\\HighPEQ\\SV\\Band_1_Gain\\\t" +
                             QByteArray::number(int(line % 25) - 12) + '\n';
    PresetProvider* provider = keep(m_context, std::make_unique<PresetProvider>());
    OutcomeLog& log = m_context.presets;
    QObject::connect(provider, &PresetProvider::busy, provider, [&log](bool busy) {
        if (!busy && !log.outcome())
            log.success(QStringLiteral("preset sent"));
    });
    failOnError(provider, log);
    provider->transferPreset(QString::number(m_presetSlot),
                             QStringLiteral("Upload %1").arg(m_presetSlot), m_expectedContent);
}

void FaultOperations::startFirmwareUpload()
{
    auto uploader = std::make_unique<FwUpdateUploader>();
    uploader->setStallLimit(kUploadStallLimit);
    OutcomeLog& log = m_context.firmwareUpload;
    QObject::connect(uploader.get(), &FwUpdateUploader::uploadDone, uploader.get(),
                     [&log] { log.success(QStringLiteral("upload done")); });
    failOnError(uploader.get(), log);
    keep(m_context, std::move(uploader))->upload(kFirmwareImageName);
}

QString FaultOperations::checkDownloaded(Operation operation) const
{
    const QDir folder(updaterOf(operation).cacheFolder());
    const QByteArray image = m_context.peers.cloud().file(
        isApplication(operation) ? faultplan::cloudpath::applicationImage
                                 : faultplan::cloudpath::firmwareImage);
    const QStringList cached = folder.entryList(QDir::Files);
    for (const QString& name : cached) {
        if (qx8test::fileContent(folder.filePath(name)) == image)
            return QString();
    }
    return QStringLiteral("no file of the cache (%1) is the cloud's image")
        .arg(cached.join(QStringLiteral(", ")));
}

// The device confirms no image: once the last byte is written, the upload is done. A device that
// drops the connection then cannot be told from one that restarts with the new image.
QString FaultOperations::checkUpload(const faultplan::Step& step)
{
    // Bytes the device's socket took while it was frozen are read once it runs again.
    QString answer;
    waitFor([&] {
        answer = m_context.peers.device().command(QStringLiteral("firmware"));
        return !answer.startsWith(QLatin1String("ok receiving")) &&
               !answer.startsWith(QLatin1String("ok announced"));
    });
    if (answer.startsWith(QLatin1String("ok installed")))
        return QString();
    const bool dropping =
        std::any_of(step.events.begin(), step.events.end(), [](const FaultEvent& event) {
            return event.command == QLatin1String("fault firmware-drop on");
        });
    if (dropping && answer.startsWith(QLatin1String("ok dropped")))
        return QString();
    return QStringLiteral("the device reports \"%1\"").arg(answer);
}

QString FaultOperations::checkSuccess(const faultplan::Step& step)
{
    switch (step.operation) {
    case Operation::ControlWrite: {
        const QString answer = m_context.peers.device().command(
            QStringLiteral("value \\\\Preset\\%1\\SV\\%2\\")
                .arg(kControlObject, controlVariable(step.variant)));
        return leadingNumber(answer.mid(3)) == m_writtenValue.toDouble()
                   ? QString()
                   : QStringLiteral("the device holds \"%1\", not %2").arg(answer, m_writtenValue);
    }
    case Operation::PresetUpload:
        return qx8test::fileContent(m_context.peers.slotFile(m_presetSlot)) == m_expectedContent
                   ? QString()
                   : QStringLiteral("slot %1 does not hold the preset sent").arg(m_presetSlot);
    case Operation::ApplicationCheck:
    case Operation::FirmwareCheck:
        return checkVersion(step.operation);
    case Operation::ApplicationDownload:
    case Operation::FirmwareDownload:
        return checkDownloaded(step.operation);
    case Operation::FirmwareUpload:
        return checkUpload(step);
    case Operation::LinkLogin: // a connection reset after the login may take it away again
        return TCPAdaptor::instance()->Ready() || m_context.linkLost
                   ? QString()
                   : QStringLiteral("the link is not logged in and reported no loss");
    case Operation::PresetFetch:
        return m_fetchedContent == m_expectedContent
                   ? QString()
                   : QStringLiteral("%1 bytes fetched of slot %2's %3")
                         .arg(m_fetchedContent.size())
                         .arg(m_presetSlot)
                         .arg(m_expectedContent.size());
    case Operation::TuningSync:
        return QString();
    }
    return QString();
}

void FaultOperations::finish(const faultplan::Step& step)
{
    logOf(step.operation).end();
    m_context.loginIsOutcome = false;
    m_writtenControl = nullptr;
    if (step.operation == Operation::ApplicationDownload)
        m_context.applicationUpdater.cancelDownload();
    if (step.operation == Operation::FirmwareDownload)
        m_context.firmwareUpdater.resetAll();
}
