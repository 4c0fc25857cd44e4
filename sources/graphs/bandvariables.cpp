#include "bandvariables.h"

#include "qx8numericalsv.h"
#include "qx8textsv.h"

void BandVariables::bind(QX8Control* control, const QString& poName, const QString& svName,
                         int band, const QString& parameter, const QString& entityName,
                         Subscription subscription)
{
    if (!entityName.isEmpty())
        control->setEntityName(entityName);
    control->setPOName(poName);
    control->setSVName(svName);
    if (subscription == Subscription::OnNamesAndComplete)
        control->componentCompleted();
    delete svByName.value(svName);
    m_arrived.remove(svName);
    svByName.insert(svName, control);
    bandOfSV.insert(svName, band);
    parameterOfSV.insert(svName, parameter);
}

void BandVariables::clear()
{
    const QList<QX8Control*> controls = svByName.values();
    svByName.clear();
    bandOfSV.clear();
    parameterOfSV.clear();
    m_arrived.clear();
    qDeleteAll(controls);
}

QX8NumericalSV* BandVariables::numeric(const QString& svName) const
{
    return qobject_cast<QX8NumericalSV*>(svByName.value(svName));
}

QString BandVariables::svNameOf(const QObject* object) const
{
    const auto* control = qobject_cast<const QX8Control*>(object);
    if (control == nullptr || svByName.value(control->svName()) != control)
        return QString();
    return control->svName();
}

int BandVariables::bandOf(const QObject* object) const
{
    return bandOfSV.value(svNameOf(object), -1);
}

QString BandVariables::parameterOf(const QObject* object) const
{
    return parameterOfSV.value(svNameOf(object));
}

bool BandVariables::markArrived(const QObject* object)
{
    const QString svName = svNameOf(object);
    if (svName.isEmpty() || m_arrived.contains(svName))
        return false;
    m_arrived.insert(svName);
    return bandArrived(bandOfSV.value(svName));
}

bool BandVariables::bandArrived(int band) const
{
    bool bound = false;
    for (auto entry = bandOfSV.cbegin(); entry != bandOfSV.cend(); ++entry) {
        if (entry.value() != band)
            continue;
        if (!m_arrived.contains(entry.key()))
            return false;
        bound = true;
    }
    return bound;
}
