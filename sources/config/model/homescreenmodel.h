#pragma once

#include "reconfigurator.h"

#include <json/value.h>

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>

// The screens' way to the device configuration; one instance (`hsModel`) in the main QML file.
// Live side: `ready` once the device has taken the login, the input-router source names (with
// the names the option cards report), the recommended input names, and the limiter list: the
// limiter feeding each output of the configuration ("LINKED" where the output shares the one
// above it), as the text of a JSON array. Configuration side: a
// reference copy (what the device holds) and a working copy of the device configuration, edits
// through the Reconfigurator, apply and discard, and the grid cells of the configurable home
// screen. Until the device has told its configuration (GetBuilderConfig on the JSON command
// channel, asked at every login) both copies hold the build of the templates' default.
//
// Every edit that changes the working copy toggles `ready` (false, then true) once, on which the
// main QML file reloads the home page; an edit that is refused or changes nothing leaves `ready`
// alone. A configuration adopted as it is (the device's, or the default) is announced by
// configAdopted() instead, on which the grid is drawn anew in place. GUI thread only.
class HomeScreenModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool configEmpty READ configEmpty WRITE setConfigEmpty NOTIFY configEmptyChanged)
    Q_PROPERTY(QString limiterList READ limiterList WRITE setLimiterList NOTIFY limiterListChanged)
    Q_PROPERTY(bool ready READ ready WRITE setReady NOTIFY readyChanged)
    Q_PROPERTY(QString deviceIP READ deviceIP WRITE setDeviceIP NOTIFY deviceIPChanged)
    Q_PROPERTY(bool enCfgApply READ enCfgApply WRITE setEnCfgApply NOTIFY enCfgApplyChanged)

public:
    explicit HomeScreenModel(QObject* parent = nullptr);

    bool configEmpty() const { return m_configEmpty; }
    QString limiterList() const { return m_limiterList; }
    bool ready() const { return m_ready; }
    QString deviceIP() const { return m_deviceIP; }
    bool enCfgApply() const { return m_enCfgApply; }
    void setConfigEmpty(bool isEmpty);
    void setLimiterList(const QString& list);
    void setReady(bool ready);
    void setDeviceIP(const QString& address);
    void setEnCfgApply(bool enable);

    // The configuration the device holds as far as known, and the one being edited.
    QJsonObject referenceConfig() const { return m_referenceConfig; }
    QJsonObject workingConfig() const { return m_configJSONObject; }
    void setApplyTimeout(int milliseconds) { m_reconfigurator.setApplyTimeout(milliseconds); }

    Q_INVOKABLE QVariantMap cellInfo(QString gridName, int columnNo, int rowNo);
    Q_INVOKABLE void enteringConfigMode();
    Q_INVOKABLE bool linkTest(int colID, int appRowIdx, int moreLess);
    Q_INVOKABLE void link(int colID, int appRowIdx);
    Q_INVOKABLE void unlink(int colID, int appRowIdx);
    Q_INVOKABLE int poListCnt(int colID, int appRowIdx);
    Q_INVOKABLE QString getPoName(int listIdx);
    Q_INVOKABLE void changePO(int colID, int appRowIdx, int listViewIdx);
    Q_INVOKABLE QVariantMap cfgXoverListCnt(int appRowIdx);
    Q_INVOKABLE QVariantMap getCfgXoverInfo(int listIdx);
    Q_INVOKABLE void setCrossoverConfig(int row, QString newXoverName);
    Q_INVOKABLE void setOutputName(int row, QString name);
    Q_INVOKABLE int getInputRouterIdx();
    Q_INVOKABLE void setRouterConfig(int routerIndex);
    Q_INVOKABLE int getMixerCfgIdx(int colID, int appRowIdx);
    Q_INVOKABLE int getPoCfgIdx(int colID, int appRowIdx);
    Q_INVOKABLE void setMixerConfig(int col, int row, int mixerIndex);
    Q_INVOKABLE void applyAllChanges();
    Q_INVOKABLE void discardAllChanges();
    Q_INVOKABLE void reset();
    // The templates' default configuration; building it takes a while, so the owner calls this
    // once the first page is on screen.
    Q_INVOKABLE void loadDefaultConfig();
    Q_INVOKABLE void requestOptionCardSourceNames();
    Q_INVOKABLE QString getInputRouterSourceNameForCardName(QString strCardName);
    Q_INVOKABLE QString getInputRouterSourceName(int slotNum);
    Q_INVOKABLE QList<int> inputRouterSwapOptionsForSlotNum(int slotNum);
    Q_INVOKABLE QString inputRouterGetSourceNameForSourceID(int sourceID);
    Q_INVOKABLE void inputRouterSetSource(int slotNum, int sourceID);
    Q_INVOKABLE QStringList recommendedInputNames();
    Q_INVOKABLE void refreshConfig();

Q_SIGNALS:
    void readyChanged(bool r);
    void deviceIPChanged(QString s);
    void incorrectPassword();
    void configEmptyChanged(bool isEmpty);
    void limiterListChanged(QString list);
    void enCfgApplyChanged(bool);
    void reconfigResponseReceived(QString s);
    void sendMessage(QByteArray message);
    void inputSourceNamesChanged();
    void configAdopted();
    // An apply that was refused or that the device did not confirm; the changes stay unapplied.
    void applyFailed(QString reason);
    // An edit the editor or the builder refused, with the reason; nothing changed.
    void editRefused(QString reason);

public Q_SLOTS:
    // Nothing to do: the adapter ends the busy period and reports the outcome itself.
    void onReconfigResponse(QString) {}
    void loginWithPassword();

protected Q_SLOTS:
    void onHomeScreenData(QByteArray message);
    void onOptionCardSourceNames(QStringList sourceNames);

private:
    void runEdit(const std::function<bool(QJsonObject&)>& edit);
    bool hasConfigChanges() const { return m_configJSONObject != m_referenceConfig; }
    void adoptConfig(const QJsonObject& config);
    void setWorkingConfig(const QJsonObject& config);
    bool hasBuilderConfig() const;
    QString limiterColumnText() const;
    QString withOptionCardName(const QString& sourceName) const;
    void requestDeviceConfiguration();
    void loadDeviceConfiguration(const QJsonObject& builderConfig);
    void onChannelAnswer(const QString& requestId, const QJsonObject& result);
    void onApplied(const QJsonObject& config);
    void onApplyFailed(const QString& reason);

    QJsonObject m_referenceConfig;
    QJsonObject m_configJSONObject;
    QStringList m_optionCardSourceNames;
    QMap<QString, QString> m_optionCardNames;
    QString m_limiterList;
    bool m_ready = false;
    bool m_configEmpty = false;
    QString m_deviceIP;
    Reconfigurator m_reconfigurator;
    bool m_enCfgApply = false;
    Json::Value m_builderConfig; // the working copy's, for the input-router queries
    QString m_configurationRequest;
    QString m_sourceNamesRequest;
};
