#include "qx8homescreenmodel.h"

#include "homescreendataholder.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"

#include <QLoggingCategory>
#include <optional>

namespace {

const QLatin1String kNumBands("NumBands");
const QLatin1String kMonoSub("MonoSub");

struct BandLayout
{
    bool lowVisible, midVisible, highVisible;
    bool stereoLow, stereoMid, stereoHigh;
};

// The groups drawn for a band count and mono-sub setting; nothing for an unknown band count.
std::optional<BandLayout> bandLayout(const QString& numBands, const QString& monoSub)
{
    const bool monoSubOn = monoSub != QLatin1String("0");
    if (numBands == QLatin1String("1"))
        return monoSubOn ? BandLayout{true, false, true, false, false, true}
                         : BandLayout{false, false, true, false, false, true};
    if (numBands == QLatin1String("2"))
        return monoSubOn ? BandLayout{true, true, true, false, true, true}
                         : BandLayout{true, false, true, true, false, true};
    if (numBands == QLatin1String("3"))
        return BandLayout{true, true, true, true, true, true};
    return std::nullopt;
}

} // namespace

QX8HomeScreenModel::QX8HomeScreenModel(QObject* parent)
    : QObject(parent), m_homeScreenData(QSharedPointer<HomeScreenData>::create())
{
    TCPAdaptor* link = TCPAdaptor::instance();
    connect(link, &TCPAdaptor::homeScreenDataAvailable, this,
            &QX8HomeScreenModel::onhomeScreenDataAvailable);
    connect(link, &TCPAdaptor::poAvailable, this, &QX8HomeScreenModel::onPoReceived);
    link->SendRequest(
        {QStringLiteral("Crossover"), kNumBands, QString(), QString(), QStringLiteral("sub")},
        this);
    link->SendRequest(
        {QStringLiteral("Crossover"), kMonoSub, QString(), QString(), QStringLiteral("sub")}, this);
    link->SendRequest({QStringLiteral("NPO"), QStringLiteral("Preset"), QString(), QString(),
                       QStringLiteral("ls")},
                      this);
}

// A home screen left before its answers came takes back what it has not yet sent.
QX8HomeScreenModel::~QX8HomeScreenModel()
{
    TCPAdaptor::instance()->requests().cancel(this);
}

// The end of a subscription and an empty value say nothing about the crossover. The view follows
// either attribute once both are known, so that a change of the band count alone is shown too.
void QX8HomeScreenModel::onhomeScreenDataAvailable(DataFromDevice* data)
{
    if (data->command == QLatin1String("unsubr") || data->value.isEmpty())
        return;
    if (data->svName == kNumBands) {
        setNumBands(data->value);
        m_homeScreenData->setNumbands(data->value);
    } else if (data->svName == kMonoSub) {
        setMonoSub(data->value);
        m_homeScreenData->setMonoSub(data->value);
        HomeScreenDataHolder::instance()->setHomeScreenData(m_homeScreenData);
    } else {
        return;
    }
    if (!m_numBands.isEmpty() && !m_monoSub.isEmpty())
        refreshView();
}

void QX8HomeScreenModel::refreshView()
{
    const std::optional<BandLayout> layout = bandLayout(m_numBands, m_monoSub);
    if (!layout)
        return;
    setLowVisible(layout->lowVisible);
    setMidVisible(layout->midVisible);
    setHighVisible(layout->highVisible);
    setStereoOutputLow(layout->stereoLow);
    setStereoOutputMid(layout->stereoMid);
    setStereoOutputHigh(layout->stereoHigh);
}

void QX8HomeScreenModel::onPoReceived(QStringList pos, QString path)
{
    Q_UNUSED(path)
    qDebug() << "po signal received....." << pos;
    setIsDualMono(false);
    if (pos.contains(QStringLiteral("StereoMixer : ")))
        setStereoInput(true);
    else if (pos.contains(QStringLiteral("MonoMixer : ")))
        setStereoInput(false);
    if (pos.contains(QStringLiteral("RightGEQ : ")) || pos.contains(QStringLiteral("LeftGEQ : ")))
        setIsDualMono(true);
}

void QX8HomeScreenModel::setGroupVisible(bool& field, bool visible, const char* settingsKey,
                                         void (QX8HomeScreenModel::*changed)())
{
    QX8Settings().setValue(QLatin1String(settingsKey), visible);
    if (field == visible)
        return;
    field = visible;
    Q_EMIT(this->*changed)();
}

void QX8HomeScreenModel::setLowVisible(bool visible)
{
    qDebug() << Q_FUNC_INFO << (visible ? "true" : "false");
    setGroupVisible(m_lowVisible, visible, settingskeys::kCrossoverLowGroupVisible,
                    &QX8HomeScreenModel::lowVisibleChanged);
}

void QX8HomeScreenModel::setMidVisible(bool visible)
{
    qDebug() << Q_FUNC_INFO << (visible ? "true" : "false");
    setGroupVisible(m_midVisible, visible, settingskeys::kCrossoverMidGroupVisible,
                    &QX8HomeScreenModel::midVisibleChanged);
}

void QX8HomeScreenModel::setHighVisible(bool visible)
{
    qDebug() << Q_FUNC_INFO << (visible ? "true" : "false");
    setGroupVisible(m_highVisible, visible, settingskeys::kCrossoverHighGroupVisible,
                    &QX8HomeScreenModel::highVisibleChanged);
}

void QX8HomeScreenModel::setNumBands(const QString& numBands)
{
    QX8Settings().setValue(QLatin1String(settingskeys::kCrossoverNumBand), numBands);
    m_numBands = numBands;
}

void QX8HomeScreenModel::setMonoSub(const QString& monoSub)
{
    QX8Settings().setValue(QLatin1String(settingskeys::kCrossoverMonoSub), monoSub);
    m_monoSub = monoSub;
}

void QX8HomeScreenModel::setFlag(bool& field, bool value, void (QX8HomeScreenModel::*changed)())
{
    if (field == value)
        return;
    field = value;
    Q_EMIT(this->*changed)();
}

void QX8HomeScreenModel::setStereoInput(bool stereo)
{
    setFlag(m_stereoInput, stereo, &QX8HomeScreenModel::stereoInputChanged);
}

void QX8HomeScreenModel::setStereoOutputLow(bool stereo)
{
    setFlag(m_stereoOutputLow, stereo, &QX8HomeScreenModel::stereoOutputLowChanged);
}

void QX8HomeScreenModel::setStereoOutputMid(bool stereo)
{
    setFlag(m_stereoOutputMid, stereo, &QX8HomeScreenModel::stereoOutputMidChanged);
}

void QX8HomeScreenModel::setStereoOutputHigh(bool stereo)
{
    setFlag(m_stereoOutputHigh, stereo, &QX8HomeScreenModel::stereoOutputHighChanged);
}

void QX8HomeScreenModel::setFixedMaxFilter(QString fixedMaxFilter)
{
    if (fixedMaxFilter == m_fixedMaxFilter)
        return;
    m_fixedMaxFilter = fixedMaxFilter;
    Q_EMIT fixedMaxFilterChanged(m_fixedMaxFilter);
}

// Announced on every call, changed or not: the home screen redraws its graphic-EQ buttons.
void QX8HomeScreenModel::setIsDualMono(bool isDualMono)
{
    m_isDualMono = isDualMono;
    Q_EMIT isDualMonoChanged(m_isDualMono);
}
