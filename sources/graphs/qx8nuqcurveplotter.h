#pragma once

#include "parametriccurveplotter.h"

// Binds the notch filters of one Nuq feedback-suppression object (Band_n_Frequency, _Gain and
// _Q) and draws each filter hanging from the top of the graph. Display only.
class QX8NuqCurvePlotter : public ParametricCurvePlotter
{
    Q_OBJECT

public:
    explicit QX8NuqCurvePlotter(QObject* parent = nullptr, int step = 10);

    // Binding the same object again changes nothing; another object replaces the filters.
    Q_INVOKABLE void init(const QString& poName, int bandCount);
    void setBoundRectangle(const QRectF& rectangle) override;

public slots:
    void onBoundRectangleChanged(QRectF rectangle) override;

protected:
    LevelMapping levelMapping() const override;
    void refreshBandPoints(int band) override;
};
