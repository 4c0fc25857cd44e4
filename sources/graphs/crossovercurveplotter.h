#pragma once

#include "crossovercurvecalculator.h"
#include "curveplotterbase.h"

#include <QPair>
#include <QPointF>
#include <QVariantList>

// Binds the bands of the crossover (high-pass and low-pass frequency and slope, gain and
// polarity of Band_n_..., and MonoSub_... for the band after the ways) and draws one response
// curve per band, sampled every 4 pixels, heights above the bottom of the item.
class CrossoverCurvePlotter : public CurvePlotterBase
{
    Q_OBJECT

public:
    static constexpr int kSettleMs = 500;

    explicit CrossoverCurvePlotter(QObject* parent = nullptr, int step = 10);

    // Binding the same layout again changes nothing; another layout replaces the bands. The
    // band count is held to the calculator's records and to the ways plus one sub.
    Q_INVOKABLE void init(const QString& poName, int bandCount, int waysCount, int subsCount);
    Q_INVOKABLE int getSlopeType(const QString& word) const;
    // The high-pass and low-pass handles of a band (y up from the bottom); two zero points
    // before the band is drawn.
    Q_INVOKABLE QVariantList controlPoint(int band) const;

    int waysCount() const { return m_waysCount; }
    int subsCount() const { return m_subsCount; }
    const CrossoverCurveCalculator& calculator() const { return m_calculator; }

public slots:
    void onSVChanged(float value);
    void onSVChanged(QString value);
    void onBoundRectangleChanged(QRectF rectangle) override;
    void timerTick() override;

protected:
    void refreshBandPoints(int band) override;

private:
    QString svName(int band, const QString& parameter) const;

    QMap<int, QPair<QPointF, QPointF>> m_handles;
    CrossoverCurveCalculator m_calculator;
    int m_waysCount = 0;
    int m_subsCount = 0;
};
