#pragma once

#include "curvecalculator.h"
#include "curveplotterbase.h"

#include <functional>
#include <vector>

class LogFrequencyAxis;

// A plotter of parametric bands (frequency, gain, Q, slope) designed by a CurveCalculator and
// sampled at every pixel column: the common part of the parametric-EQ and Nuq plotters.
class ParametricCurvePlotter : public CurvePlotterBase
{
    Q_OBJECT

public:
    static constexpr int kSettleMs = 200;

    const CurveCalculator& calculator() const { return m_calculator; }

public slots:
    void onSVChanged(float value);

protected:
    ParametricCurvePlotter(int mode, int step, QObject* parent);

    // Binds to `poName`; false (and nothing created) when already bound so, or when the name is
    // empty. Band counts are held inside the calculator's records.
    bool bindBands(const QString& poName, int bandCount);
    // Creates the numeric objects of one band and starts its record and curve.
    void addNumericBand(int band, const QStringList& parameters, const QString& entityName);
    static QString svName(int band, const QString& parameter);

    // Heights of `band` at every pixel column, each gain turned into a height by `height`.
    std::vector<double> sampleBand(int band, const LogFrequencyAxis& axis,
                                   const std::function<double(double)>& height);
    static QMap<float, float> toCurve(const std::vector<double>& heights);

    int width() const { return static_cast<int>(boundRectangle().width()); }

    CurveCalculator m_calculator;
};
