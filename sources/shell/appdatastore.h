#pragma once

#include <QJsonObject>
#include <QMap>
#include <QObject>

class QX8TextSV;

// Small pieces of state the screens share: the processing object and channel a home-screen
// button opened, group, input and output names, the nudge ranges, the device's busy state read
// from its configuration status, the limiter behind each output, and a few flags.
class AppDataStore : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool wizardActive READ wizardActive WRITE setWizardActive NOTIFY wizardActiveChanged)

public:
    explicit AppDataStore(QObject* parent = nullptr);

    Q_INVOKABLE QString poName() const { return m_poName; }
    Q_INVOKABLE void setPOName(const QString& poName);
    Q_INVOKABLE QString channelName() const { return m_channelName; }
    Q_INVOKABLE void setChannelName(const QString& channelName);
    Q_INVOKABLE int channelIndex() const { return m_channelIndex; }
    Q_INVOKABLE void setChannelIndex(int idx) { m_channelIndex = idx; }
    Q_INVOKABLE QString getJsonArray(const QString& poClass, const QString& svClass) const;
    Q_INVOKABLE bool discoveryConnectionLost() const { return m_discoveryConnectionLost; }
    Q_INVOKABLE void setDiscoveryConnectionLost(bool lost) { m_discoveryConnectionLost = lost; }
    Q_INVOKABLE bool deviceBusy() const;
    Q_INVOKABLE QString isStartup() const { return m_isStartup; }
    Q_INVOKABLE void setIsStartup(const QString& updateCheck) { m_isStartup = updateCheck; }
    Q_INVOKABLE QString inputNameFromIdx(const QString& n);
    Q_INVOKABLE void setOutputName(const QString& key, const QString& value);
    Q_INVOKABLE QString getOutputName(const QString& key);
    Q_INVOKABLE void setCopyPastePrg(bool state) { m_copyPastePrg = state; }
    Q_INVOKABLE bool getCopyPastePrg() const { return m_copyPastePrg; }
    Q_INVOKABLE void setLimiterList(const QString& list);
    Q_INVOKABLE QString getLimiterAt(int i);
    Q_INVOKABLE void listenForBusyEvents();
    Q_INVOKABLE void stopListeningForBusyEvents();
    Q_INVOKABLE bool wizardActive() const { return m_wizardActive; }
    Q_INVOKABLE void setWizardActive(bool wiz);

Q_SIGNALS:
    void poNameChanged(QString poName);
    void deviceBusyStateChanged(bool busy);
    void wizardActiveChanged(bool active);

private Q_SLOTS:
    void onStatusValueChanged(QString a);

private:
    void readRangeData();

    QX8TextSV* m_statusControl;
    QString m_poName;
    QString m_channelName;
    int m_channelIndex = 0;
    bool m_discoveryConnectionLost = false;
    QMap<QString, QString> m_inputGroupNames;
    QMap<QString, QString> m_outputGroupNames;
    QMap<QString, QString> m_inputNames;
    QMap<QString, QString> m_outputNames;
    QMap<int, QString> m_limiterMap;
    QJsonObject m_rangeData;
    QString m_isStartup = QStringLiteral("false");
    bool m_copyPastePrg = false;
    bool m_wizardActive = false;
};
