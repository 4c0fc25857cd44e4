#pragma once

#include <QObject>
#include <QStringList>

// The processing objects the device's current preset holds, for screens that serve several
// objects or may open one the preset lacks: asks the device for its object list when the link
// is ready (and again after every login) and keeps the names of its answer.
class ProcessingObjectList : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList names READ names NOTIFY namesChanged)
    Q_PROPERTY(bool listed READ listed NOTIFY namesChanged)

public:
    explicit ProcessingObjectList(QObject* parent = nullptr);
    ~ProcessingObjectList() override;

    QStringList names() const { return m_names; }
    // True once the device has answered.
    bool listed() const { return m_listed; }
    Q_INVOKABLE bool contains(const QString& name) const { return m_names.contains(name); }

Q_SIGNALS:
    void namesChanged();

private:
    void request();
    void onListed(const QStringList& items, const QString& path);

    QStringList m_names;
    bool m_listed = false;
};
