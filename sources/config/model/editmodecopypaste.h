#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

// Copies the settings of one processing object from the device and pastes them onto another of
// the same type, through the JSON command channel. `copy` turns true when the device has sent the
// settings, `paste` when it has taken them; a failed request leaves both as they were and is
// reported by error(). GUI thread; one instance in the main QML file.
class EditModeCopyPaste : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool copy READ copy WRITE setCopy NOTIFY copyChanged)
    Q_PROPERTY(bool paste READ paste WRITE setPaste NOTIFY pasteChanged)

public:
    explicit EditModeCopyPaste(QObject* parent = nullptr);

    bool copy() const { return m_copy; }
    bool paste() const { return m_paste; }
    void setCopy(bool copy);
    void setPaste(bool paste);

    Q_INVOKABLE void copyPO(QString poName, QString poType, QString className);
    Q_INVOKABLE void pastePO(QString poName, QString poType);
    Q_INVOKABLE QString copiedPO() const { return m_copiedType; }
    Q_INVOKABLE QString copiedPOClassName() const { return m_copiedClassName; }

Q_SIGNALS:
    void copyChanged(bool copy);
    void pasteChanged(bool paste);
    void error(QString message);

private:
    void onAnswered(const QString& requestId, const QJsonObject& result);
    void onFailed(const QString& requestId, const QString& reason);
    void report(const QString& message);

    QString m_copiedType;
    QString m_copiedClassName;
    QJsonObject m_copiedSettings;
    QString m_copyRequest;
    QString m_pasteRequest;
    bool m_copy = false;
    bool m_paste = false;
};
