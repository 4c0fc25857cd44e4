#include "homescreenmodel.h"

#include "consolelinebuilder.h"
#include "jsoncommandchannel.h"
#include "jsontext.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"

#include <QJsonArray>
#include <QLoggingCategory>

namespace {

const QLatin1String kBuilderConfigKey(".builderConfig");

void leaveConfigMode()
{
    QX8Settings().setValue(QLatin1String(settingskeys::kIsConfigMode), QStringLiteral("false"));
}

} // namespace

HomeScreenModel::HomeScreenModel(QObject* parent) : QObject(parent)
{
    TCPAdaptor* link = TCPAdaptor::instance();
    connect(this, &HomeScreenModel::sendMessage, link, &TCPAdaptor::sendMessage);
    connect(link, &TCPAdaptor::homeScreenData, this, &HomeScreenModel::onHomeScreenData);
    connect(link, &TCPAdaptor::incorrectPassword, this, &HomeScreenModel::incorrectPassword);
    JsonCommandChannel* channel = JsonCommandChannel::instance();
    connect(channel, &JsonCommandChannel::answered, this, &HomeScreenModel::onChannelAnswer);
    connect(channel, &JsonCommandChannel::failed, this, [this](const QString& requestId) {
        if (requestId == m_configurationRequest)
            qInfo() << "Configuration names stay those of the templates' default";
    });
    connect(&m_reconfigurator, &Reconfigurator::reconfigResponse, this,
            &HomeScreenModel::reconfigResponseReceived);
    connect(&m_reconfigurator, &Reconfigurator::reconfigResponse, this,
            &HomeScreenModel::onReconfigResponse);
    connect(&m_reconfigurator, &Reconfigurator::applied, this, &HomeScreenModel::onApplied);
    connect(&m_reconfigurator, &Reconfigurator::applyFailed, this, &HomeScreenModel::onApplyFailed);
    connect(&m_reconfigurator, &Reconfigurator::editRefused, this, &HomeScreenModel::editRefused);
}

// A configuration already held (the device's) is kept.
void HomeScreenModel::loadDefaultConfig()
{
    if (m_configJSONObject.value(kBuilderConfigKey).isObject())
        return;
    QJsonObject defaultConfig;
    if (m_reconfigurator.setDefaultConfig(defaultConfig))
        adoptConfig(defaultConfig);
}

void HomeScreenModel::setConfigEmpty(bool isEmpty)
{
    m_configEmpty = isEmpty;
    Q_EMIT configEmptyChanged(m_configEmpty);
}

void HomeScreenModel::setLimiterList(const QString& list)
{
    m_limiterList = list;
    Q_EMIT limiterListChanged(m_limiterList);
}

void HomeScreenModel::setReady(bool ready)
{
    if (ready == m_ready)
        return;
    m_ready = ready;
    Q_EMIT readyChanged(m_ready);
}

void HomeScreenModel::setDeviceIP(const QString& address)
{
    if (address == m_deviceIP)
        return;
    m_deviceIP = address;
    Q_EMIT deviceIPChanged(m_deviceIP);
}

void HomeScreenModel::setEnCfgApply(bool enable)
{
    if (enable == m_enCfgApply)
        return;
    m_enCfgApply = enable;
    Q_EMIT enCfgApplyChanged(m_enCfgApply);
}

// --- Live side ---

void HomeScreenModel::onHomeScreenData(QByteArray message)
{
    Q_UNUSED(message)
    setReady(true);
    requestDeviceConfiguration();
}

void HomeScreenModel::reset()
{
    setReady(false);
    setDeviceIP(QString());
}

void HomeScreenModel::refreshConfig()
{
    if (m_ready)
        setReady(false);
    setReady(true);
}

void HomeScreenModel::loginWithPassword()
{
    const QString password =
        QX8Settings().value(settingskeys::kCurrentDevicePassword, QString()).toString();
    if (const std::optional<QByteArray> line = ConsoleLineBuilder::login(password))
        Q_EMIT sendMessage(*line);
}

void HomeScreenModel::requestDeviceConfiguration()
{
    m_configurationRequest = JsonCommandChannel::instance()->send(
        QStringLiteral("GetBuilderConfig"), QStringLiteral("appID_GetBuilderConfig"), {});
}

void HomeScreenModel::requestOptionCardSourceNames()
{
    m_sourceNamesRequest =
        JsonCommandChannel::instance()->send(QStringLiteral("GetInputRouterSourceNames"),
                                             QStringLiteral("fwID_getInputRouterSourceNames"), {});
}

void HomeScreenModel::onChannelAnswer(const QString& requestId, const QJsonObject& result)
{
    if (requestId.isEmpty())
        return;
    if (requestId == m_configurationRequest) {
        m_configurationRequest.clear();
        loadDeviceConfiguration(result);
    } else if (requestId == m_sourceNamesRequest) {
        m_sourceNamesRequest.clear();
        QStringList names;
        for (const QJsonValue& name : result.value(QLatin1String("sourceNames")).toArray())
            names.append(name.toString());
        onOptionCardSourceNames(names);
    }
}

// Edits not applied yet stay in the working copy, now measured against what the device holds.
void HomeScreenModel::loadDeviceConfiguration(const QJsonObject& builderConfig)
{
    QJsonObject config;
    QString error;
    if (!m_reconfigurator.buildConfig(builderConfig, config, &error)) {
        qWarning().noquote() << "The device's configuration does not build:" << error;
        return;
    }
    if (hasConfigChanges()) {
        m_referenceConfig = config;
        setEnCfgApply(hasConfigChanges());
    } else {
        adoptConfig(config);
    }
    Q_EMIT inputSourceNamesChanged();
}

void HomeScreenModel::onOptionCardSourceNames(QStringList sourceNames)
{
    m_optionCardSourceNames = sourceNames;
    m_optionCardNames.clear();
    for (int i = 0; i < sourceNames.size(); ++i) {
        const QString key = inputRouterGetSourceNameForSourceID(i);
        if (!key.isEmpty())
            m_optionCardNames.insert(key, sourceNames.at(i));
    }
    Q_EMIT inputSourceNamesChanged();
}

QString HomeScreenModel::withOptionCardName(const QString& sourceName) const
{
    return m_optionCardNames.value(sourceName, sourceName);
}

bool HomeScreenModel::hasBuilderConfig() const
{
    if (m_configJSONObject.value(kBuilderConfigKey).isObject())
        return true;
    qWarning() << "m_configJSONObject is empty";
    return false;
}

QString HomeScreenModel::getInputRouterSourceNameForCardName(QString strCardName)
{
    return withOptionCardName(strCardName);
}

QString HomeScreenModel::getInputRouterSourceName(int slotNum)
{
    if (!hasBuilderConfig())
        return QString();
    return withOptionCardName(Reconfigurator::getInputRouterSourceName(m_builderConfig, slotNum));
}

QString HomeScreenModel::inputRouterGetSourceNameForSourceID(int sourceID)
{
    if (!hasBuilderConfig())
        return QString();
    return withOptionCardName(
        Reconfigurator::inputRouterGetSourceNameForSourceID(m_builderConfig, sourceID));
}

QList<int> HomeScreenModel::inputRouterSwapOptionsForSlotNum(int slotNum)
{
    if (!hasBuilderConfig())
        return QList<int>();
    return Reconfigurator::inputRouterSwapOptionsForSlotNum(m_builderConfig, slotNum);
}

QStringList HomeScreenModel::recommendedInputNames()
{
    return Reconfigurator::recommendedInputNames();
}

// --- Configuration side ---

// Both copies: the configuration is what the device holds, nothing to apply.
void HomeScreenModel::adoptConfig(const QJsonObject& config)
{
    setWorkingConfig(config);
    m_referenceConfig = config;
    setConfigEmpty(config.value(QLatin1String("isEmpty")).toBool(false));
    Q_EMIT configAdopted();
}

void HomeScreenModel::setWorkingConfig(const QJsonObject& config)
{
    m_configJSONObject = config;
    Reconfigurator::_qjsonToJson(config.value(kBuilderConfigKey).toObject(), m_builderConfig);
    const QString limiters = limiterColumnText();
    if (limiters != m_limiterList)
        setLimiterList(limiters);
}

void HomeScreenModel::runEdit(const std::function<bool(QJsonObject&)>& edit)
{
    QJsonObject edited = m_configJSONObject;
    if (!edit(edited))
        return;
    setReady(false);
    setWorkingConfig(edited);
    setReady(true);
    setEnCfgApply(hasConfigChanges());
}

// Without a configuration (the templates' default could not be built at start) the default is
// both copies, so that entering the mode offers nothing to apply.
void HomeScreenModel::enteringConfigMode()
{
    if (m_configJSONObject.value(kBuilderConfigKey).isObject())
        return;
    QJsonObject config;
    if (!m_reconfigurator.setDefaultConfig(config))
        return;
    setReady(false);
    setWorkingConfig(config);
    m_referenceConfig = config;
    setEnCfgApply(hasConfigChanges());
    setReady(true);
}

void HomeScreenModel::link(int colID, int appRowIdx)
{
    runEdit([&](QJsonObject& config) { return m_reconfigurator.link(config, colID, appRowIdx); });
}

void HomeScreenModel::unlink(int colID, int appRowIdx)
{
    runEdit([&](QJsonObject& config) { return m_reconfigurator.unlink(config, colID, appRowIdx); });
}

void HomeScreenModel::changePO(int colID, int appRowIdx, int listViewIdx)
{
    runEdit([&](QJsonObject& config) {
        return m_reconfigurator.changePO(config, colID, appRowIdx, listViewIdx);
    });
}

void HomeScreenModel::setCrossoverConfig(int row, QString newXoverName)
{
    runEdit([&](QJsonObject& config) {
        return m_reconfigurator.setCrossoverConfig(config, row, newXoverName);
    });
}

void HomeScreenModel::setOutputName(int row, QString name)
{
    runEdit([&](QJsonObject& config) { return m_reconfigurator.renameOutputs(config, row, name); });
}

void HomeScreenModel::setRouterConfig(int routerIndex)
{
    m_reconfigurator.setRouterConfig(m_configJSONObject, routerIndex);
}

void HomeScreenModel::setMixerConfig(int col, int row, int mixerIndex)
{
    runEdit([&](QJsonObject& config) {
        return m_reconfigurator.setMixerConfig(config, col, row, mixerIndex);
    });
}

void HomeScreenModel::inputRouterSetSource(int slotNum, int sourceID)
{
    QJsonObject edited = m_configJSONObject;
    if (!m_reconfigurator.inputRouterSetSource(edited, slotNum, sourceID))
        return;
    setWorkingConfig(edited);
    Q_EMIT inputSourceNamesChanged();
    setEnCfgApply(hasConfigChanges());
}

bool HomeScreenModel::linkTest(int colID, int appRowIdx, int moreLess)
{
    return m_reconfigurator.linkTest(m_configJSONObject, colID, appRowIdx, moreLess);
}

int HomeScreenModel::poListCnt(int colID, int appRowIdx)
{
    return m_reconfigurator.poListCnt(m_configJSONObject, colID, appRowIdx);
}

QString HomeScreenModel::getPoName(int listIdx)
{
    return m_reconfigurator.getPoName(listIdx);
}

QVariantMap HomeScreenModel::cfgXoverListCnt(int appRowIdx)
{
    return m_reconfigurator.cfgXoverListCnt(m_configJSONObject, appRowIdx);
}

QVariantMap HomeScreenModel::getCfgXoverInfo(int listIdx)
{
    return m_reconfigurator.getCfgXoverInfo(listIdx);
}

int HomeScreenModel::getInputRouterIdx()
{
    return m_reconfigurator.getInputRouterIdx(m_configJSONObject);
}

int HomeScreenModel::getMixerCfgIdx(int colID, int appRowIdx)
{
    return m_reconfigurator.getMixerCfgIdx(m_configJSONObject, colID, appRowIdx);
}

int HomeScreenModel::getPoCfgIdx(int colID, int appRowIdx)
{
    return m_reconfigurator.getPoCfgIdx(m_configJSONObject, colID, appRowIdx);
}

void HomeScreenModel::applyAllChanges()
{
    leaveConfigMode();
    if (hasConfigChanges() && m_reconfigurator.applyPendingChanges(m_configJSONObject))
        setEnCfgApply(false);
}

void HomeScreenModel::onApplied(const QJsonObject& config)
{
    m_referenceConfig = config;
    setEnCfgApply(hasConfigChanges());
}

void HomeScreenModel::onApplyFailed(const QString& reason)
{
    setEnCfgApply(hasConfigChanges());
    Q_EMIT applyFailed(reason);
}

void HomeScreenModel::discardAllChanges()
{
    leaveConfigMode();
    if (!hasConfigChanges())
        return;
    setReady(false);
    setWorkingConfig(m_referenceConfig);
    setReady(true);
    setEnCfgApply(false);
}
