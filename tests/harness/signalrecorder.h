#pragma once

#include <QList>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QVariantList>

// Records every signal an object emits, in emission order, with its arguments. Unlike one
// QSignalSpy per signal, the order between different signals is kept. Thread-safe: signals
// emitted in another thread are recorded directly in that thread.
class SignalRecorder : public QObject
{
public:
    struct Emission
    {
        QString name; // signal name without arguments, e.g. "dataAvailable"
        QVariantList arguments;
    };

    explicit SignalRecorder(QObject* target);

    QList<Emission> emissions() const;
    // Names of the recorded signals in order.
    QStringList names() const;
    // Names, filtered to those listed (in recorded order).
    QStringList names(const QStringList& only) const;
    int count(const QString& name) const;
    void clear();

    int qt_metacall(QMetaObject::Call call, int id, void** arguments) override;

private:
    void record(int slot, void** arguments);

    QObject* m_target;
    QList<int> m_signalIndexes; // slot k records signal m_signalIndexes[k]
    mutable QMutex m_mutex;
    QList<Emission> m_emissions;
};
