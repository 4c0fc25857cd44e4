#include "signalrecorder.h"

#include <QMetaMethod>
#include <QMutexLocker>

SignalRecorder::SignalRecorder(QObject* target) : m_target(target)
{
    const QMetaObject* meta = target->metaObject();
    const int firstSlot = QObject::staticMetaObject.methodCount();
    for (int i = QObject::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
        if (meta->method(i).methodType() != QMetaMethod::Signal)
            continue;
        const int slot = firstSlot + m_signalIndexes.size();
        m_signalIndexes.append(i);
        QMetaObject::connect(target, i, this, slot, Qt::DirectConnection);
    }
}

int SignalRecorder::qt_metacall(QMetaObject::Call call, int id, void** arguments)
{
    id = QObject::qt_metacall(call, id, arguments);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod)
        return id;
    if (id < m_signalIndexes.size())
        record(id, arguments);
    return -1;
}

void SignalRecorder::record(int slot, void** arguments)
{
    const QMetaMethod method = m_target->metaObject()->method(m_signalIndexes.at(slot));
    Emission emission{QString::fromLatin1(method.name()), {}};
    for (int i = 0; i < method.parameterCount(); ++i) {
        const int type = method.parameterType(i);
        emission.arguments.append(type == QMetaType::QVariant
                                      ? *static_cast<QVariant*>(arguments[i + 1])
                                      : QVariant(type, arguments[i + 1]));
    }
    QMutexLocker lock(&m_mutex);
    m_emissions.append(emission);
}

QList<SignalRecorder::Emission> SignalRecorder::emissions() const
{
    QMutexLocker lock(&m_mutex);
    return m_emissions;
}

QStringList SignalRecorder::names() const
{
    return names({});
}

QStringList SignalRecorder::names(const QStringList& only) const
{
    QMutexLocker lock(&m_mutex);
    QStringList result;
    for (const Emission& emission : m_emissions) {
        if (only.isEmpty() || only.contains(emission.name))
            result.append(emission.name);
    }
    return result;
}

int SignalRecorder::count(const QString& name) const
{
    QMutexLocker lock(&m_mutex);
    int n = 0;
    for (const Emission& emission : m_emissions)
        n += emission.name == name ? 1 : 0;
    return n;
}

void SignalRecorder::clear()
{
    QMutexLocker lock(&m_mutex);
    m_emissions.clear();
}
