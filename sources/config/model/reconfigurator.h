#pragma once

#include "reconfigurationrequest.h"

#include <json/value.h>

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <string>
#include <vector>

// Between the configuration model and the Qt-free configuration builder and editor. The model
// keeps the device configuration as a QJsonObject with the builder configuration under
// ".builderConfig"; each edit converts that, makes one editor call and, when the builder
// configuration changed and builds, replaces the caller's configuration with the build. An edit
// that fails (an index out of range, an editor error, a configuration that does not build)
// leaves the configuration as it was, logs why and answers false. Also answers the list queries
// of the editing dialogs and sends a configuration to the device (applyPendingChanges).
//
// Rows: the screens count the rows of a column from 0 ("appRowIdx"); the editor from 1.
// GUI thread only.
class Reconfigurator : public QObject
{
    Q_OBJECT

public:
    explicit Reconfigurator(QObject* parent = nullptr);

    static void _qjsonToJson(const QJsonObject& object, Json::Value& value);
    static void _jsonToQjson(const Json::Value& value, QJsonObject& object);

    // The templates file in the builder's instance, loaded on first need.
    bool loadTemplates();

    // Edits: true when `config` was changed.
    bool link(QJsonObject& config, int colID, int appRowIdx);
    bool unlink(QJsonObject& config, int colID, int appRowIdx);
    bool changePO(QJsonObject& config, int colID, int appRowIdx, int listViewIdx);
    bool setCrossoverConfig(QJsonObject& config, int appRowIdx, const QString& newXoverName);
    bool renameOutputs(QJsonObject& config, int appRowIdx, const QString& name);
    bool inputRouterSetSource(QJsonObject& config, int slotNum, int sourceID);
    bool setMixerConfig(QJsonObject& config, int colID, int appRowIdx, int mixerIndex);
    bool setDefaultConfig(QJsonObject& config);
    void setRouterConfig(QJsonObject& config, int routerIndex);
    // The device configuration built from a builder configuration; false with the builder's
    // reason when it does not build.
    bool buildConfig(const QJsonObject& builderConfig, QJsonObject& config, QString* error);

    // Queries of the editing dialogs; none changes `config`.
    bool linkTest(const QJsonObject& config, int colID, int appRowIdx, int moreLess);
    int poListCnt(const QJsonObject& config, int colID, int appRowIdx);
    QString getPoName(int listIdx) const;
    QVariantMap cfgXoverListCnt(const QJsonObject& config, int appRowIdx);
    QVariantMap getCfgXoverInfo(int listIdx) const;
    int getMixerCfgIdx(const QJsonObject& config, int colID, int appRowIdx);
    // The place of the cell's own block in its choice list (poListCnt's order); -1 for none.
    int getPoCfgIdx(const QJsonObject& config, int colID, int appRowIdx);
    int getInputRouterIdx(const QJsonObject& config) const;

    static QString getInputRouterSourceName(const Json::Value& builderConfig, int slotNum);
    static QList<int> inputRouterSwapOptionsForSlotNum(const Json::Value& builderConfig,
                                                       int slotNum);
    static QString inputRouterGetSourceNameForSourceID(const Json::Value& builderConfig,
                                                       int sourceID);
    static QStringList recommendedInputNames();

    // Sends the configuration's builder configuration as one reconfiguration line and keeps the
    // application busy until the device confirms it (applied()) or the request fails
    // (applyFailed()). A configuration that does not build is refused with the builder's reason.
    bool applyPendingChanges(const QJsonObject& config);
    static QString createReconfigCommand(const QJsonObject& builderConfig);
    bool isApplying() const { return m_request.isWaiting(); }
    void setApplyTimeout(int milliseconds) { m_request.setTimeout(milliseconds); }

Q_SIGNALS:
    void reconfigResponse(QString s);
    // The configuration the device confirmed.
    void applied(const QJsonObject& config);
    void applyFailed(const QString& reason);
    // An edit that the editor or the builder refused, with the reason; the configuration is
    // unchanged.
    void editRefused(const QString& reason);

private:
    // One editor call on the working builder configuration: answers whether it edited.
    using EditorCall = std::function<bool(Json::Value&)>;

    bool edit(QJsonObject& config, const char* operation, const EditorCall& call);
    // Runs a query on the configuration's builder configuration; false when it threw.
    bool query(const QJsonObject& config, const char* operation,
               const std::function<void(const Json::Value&)>& call);
    bool validCell(const char* operation, int colID, int appRowIdx) const;
    static bool refused(const char* operation, const QString& reason);
    void reportApplyFailure(const QString& reason);
    static Json::Value builderConfigOf(const QJsonObject& config);

    std::vector<std::string> m_swapOptionNames;
    std::vector<std::string> m_crossoverOptions;
    ReconfigurationRequest m_request;
    QJsonObject m_applying;
};
