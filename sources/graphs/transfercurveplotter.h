#pragma once

#include "bandvariables.h"
#include "transfercurve.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <vector>

// Binds the variables that shape the transfer curve of one dynamics processing object (the
// threshold, ratio, knee, range, target, ...) and turns them into the curve: output level against
// input level in dB, sampled over the graph's level span. Display only: it writes nothing.
class TransferCurvePlotter : public QObject
{
    Q_OBJECT

public:
    enum Law { Limiter, Compressor, Gate, Agc };
    Q_ENUM(Law)

    // The sampling step of the curve, in dB of input.
    static constexpr double kStepDb = 0.25;

    explicit TransferCurvePlotter(QObject* parent = nullptr);

    // The state variables a law reads, in the order the device model lists them.
    static QStringList variablesOf(Law law);

    // Binds the law's variables on `poName`; binding the same again changes nothing, another
    // object or law replaces the variables. An empty name binds nothing.
    void init(const QString& poName, Law law);
    // The input levels the curve spans; the output axis is the same.
    void setLevelSpan(double fromDb, double toDb);

    QString poName() const { return m_poName; }
    Law law() const { return m_law; }
    // Empty until every variable of the law has reported its value.
    const std::vector<TransferCurve::Point>& curve() const { return m_curve; }

signals:
    void curveChanged();

private:
    void onValueChanged(float value);
    void recompute();
    double valueOf(const QString& svName) const { return m_values.value(svName); }
    std::vector<TransferCurve::Point> sampleLaw() const;

    BandVariables m_variables;
    QHash<QString, double> m_values;
    QString m_poName;
    Law m_law = Compressor;
    bool m_bound = false;
    double m_fromDb = -90.0;
    double m_toDb = 10.0;
    std::vector<TransferCurve::Point> m_curve;
};
