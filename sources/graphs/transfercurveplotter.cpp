#include "transfercurveplotter.h"

#include "qx8numericalsv.h"

#include <cmath>
#include <limits>

TransferCurvePlotter::TransferCurvePlotter(QObject* parent) : QObject(parent), m_variables(this) {}

QStringList TransferCurvePlotter::variablesOf(Law law)
{
    switch (law) {
    case Limiter:
        return {QStringLiteral("Threshold"), QStringLiteral("OverEasy")};
    case Compressor:
        return {QStringLiteral("Threshold"), QStringLiteral("Gain"), QStringLiteral("Ratio"),
                QStringLiteral("OverEasy")};
    case Gate:
        return {QStringLiteral("Threshold"), QStringLiteral("Ratio"),
                QStringLiteral("MaxAttenuation")};
    case Agc:
        return {QStringLiteral("Target"), QStringLiteral("Max Gain"), QStringLiteral("Window"),
                QStringLiteral("Low Threshold"), QStringLiteral("LimThreshold")};
    }
    return {};
}

void TransferCurvePlotter::init(const QString& poName, Law law)
{
    if (m_bound && poName == m_poName && law == m_law)
        return;
    m_variables.clear();
    m_values.clear();
    m_curve.clear();
    m_poName = poName;
    m_law = law;
    m_bound = true;
    emit curveChanged();
    if (poName.isEmpty())
        return;
    for (const QString& svName : variablesOf(law)) {
        auto* control = m_variables.add<QX8NumericalSV>(
            poName, svName, 0, svName, QString(), BandVariables::Subscription::OnNamesAndComplete);
        connect(control, &QX8NumericalSV::valueChanged, this,
                &TransferCurvePlotter::onValueChanged);
    }
}

void TransferCurvePlotter::setLevelSpan(double fromDb, double toDb)
{
    if (fromDb == m_fromDb && toDb == m_toDb)
        return;
    m_fromDb = fromDb;
    m_toDb = toDb;
    recompute();
}

// A ratio or range may be infinite; only a value that is no number is no reading.
void TransferCurvePlotter::onValueChanged(float value)
{
    const QString svName = m_variables.svNameOf(sender());
    if (svName.isEmpty() || std::isnan(value))
        return;
    m_variables.markArrived(sender());
    m_values.insert(svName, value);
    recompute();
}

void TransferCurvePlotter::recompute()
{
    m_curve = m_variables.allArrived() ? sampleLaw() : std::vector<TransferCurve::Point>();
    emit curveChanged();
}

std::vector<TransferCurve::Point> TransferCurvePlotter::sampleLaw() const
{
    using namespace TransferCurve;
    switch (m_law) {
    case Limiter: {
        const Compression law{valueOf(QStringLiteral("Threshold")),
                              std::numeric_limits<double>::infinity(),
                              kneeWidthForOverEasy(valueOf(QStringLiteral("OverEasy"))), 0.0};
        return sample(law, m_fromDb, m_toDb, kStepDb);
    }
    case Compressor: {
        const Compression law{valueOf(QStringLiteral("Threshold")),
                              valueOf(QStringLiteral("Ratio")),
                              kneeWidthForOverEasy(valueOf(QStringLiteral("OverEasy"))),
                              valueOf(QStringLiteral("Gain"))};
        return sample(law, m_fromDb, m_toDb, kStepDb);
    }
    case Gate: {
        const Expansion law{valueOf(QStringLiteral("Threshold")), valueOf(QStringLiteral("Ratio")),
                            valueOf(QStringLiteral("MaxAttenuation"))};
        return sample(law, m_fromDb, m_toDb, kStepDb);
    }
    case Agc: {
        const Levelling law{valueOf(QStringLiteral("Target")), valueOf(QStringLiteral("Window")),
                            valueOf(QStringLiteral("Max Gain")),
                            valueOf(QStringLiteral("Low Threshold")),
                            valueOf(QStringLiteral("LimThreshold"))};
        return sample(law, m_fromDb, m_toDb, kStepDb);
    }
    }
    return {};
}
