#pragma once

#include "graphitembase.h"

#include <QList>
#include <QMap>

// A graph item that paints curves owned by its plotter (pixel x to height in pixels).
class CurveGraphItem : public GraphItemBase
{
    Q_OBJECT

public:
    using GraphItemBase::GraphItemBase;

public slots:
    // The plotter keeps the curves; the item holds the reference and reads them when it paints.
    void onCurvesChanged(QList<QMap<float, float>>& curves);

protected:
    // Completed, and a non-empty curve list has arrived.
    bool canPaint() const { return isCompleted() && m_curves != nullptr && !m_curves->isEmpty(); }
    const QList<QMap<float, float>>& curves() const { return *m_curves; }

private:
    const QList<QMap<float, float>>* m_curves = nullptr;
};
