#pragma once

#include "bandcurvesampler.h"
#include "curvecalculator.h"
#include "curveplotterbase.h"
#include "logfrequencyaxis.h"

#include <vector>

// A plotter of parametric bands (frequency, gain, Q, slope) designed by a CurveCalculator and
// sampled at every pixel column: the common part of the parametric-EQ and Nuq plotters.
class ParametricCurvePlotter : public CurvePlotterBase
{
    Q_OBJECT

public:
    static constexpr int kSettleMs = 200;

    const CurveCalculator& calculator() const { return m_calculator; }

    // One height of the band last prepared, at pixel column x, as its curve has it but whatever
    // the band's gain and without the curve's offset.
    Q_INVOKABLE float gainPointForLogFreq(int x) const;

public slots:
    void onSVChanged(float value);

protected:
    ParametricCurvePlotter(int mode, const LogFrequencyAxis& axis, int step, QObject* parent);

    // Binds to `poName`; false (and nothing created) when already bound so, or when the name is
    // empty. Band counts are held inside the calculator's records.
    bool bindBands(const QString& poName, int bandCount);
    // Creates the numeric objects of one band and starts its record and curve.
    void addNumericBand(int band, const QStringList& parameters, const QString& entityName);
    static QString svName(int band, const QString& parameter);

    // How the graph shows a level in the current plot rectangle.
    virtual LevelMapping levelMapping() const = 0;
    // Samples `band` at every pixel column into its heights and its curve.
    void sampleBand(int band, const LevelMapping& mapping);
    // Writes `heights` into `curve`, one point per pixel column.
    static void writeCurve(const std::vector<double>& heights, Curve& curve);

    int width() const { return static_cast<int>(boundRectangle().width()); }

    CurveCalculator m_calculator;
    // Band heights by pixel column, as last sampled.
    std::vector<std::vector<double>> m_heights;

private:
    LogFrequencyAxis m_axis;
    BandCurveSampler m_sampler;
};
