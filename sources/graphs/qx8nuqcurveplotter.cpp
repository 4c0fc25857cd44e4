#include "qx8nuqcurveplotter.h"

#include "nuqgeometry.h"

#include <QDebug>

QX8NuqCurvePlotter::QX8NuqCurvePlotter(QObject* parent, int step)
    : ParametricCurvePlotter(3, LogFrequencyAxis::nuq(), step, parent)
{
}

void QX8NuqCurvePlotter::init(const QString& poName, int bandCount)
{
    if (!bindBands(poName, bandCount))
        return;
    const QStringList parameters{QStringLiteral("Frequency"), QStringLiteral("Gain"),
                                 QStringLiteral("Q")};
    for (int band = 0; band < this->bandCount(); ++band)
        addNumericBand(band, parameters, QString());
    m_curves.append(Curve()); // stays empty: no total here
}

void QX8NuqCurvePlotter::setBoundRectangle(const QRectF& rectangle)
{
    qDebug() << "setBoundRectangle :" << rectangle;
    ParametricCurvePlotter::setBoundRectangle(rectangle);
}

void QX8NuqCurvePlotter::onBoundRectangleChanged(QRectF rectangle)
{
    qDebug() << " QX8NuqCurvePlotter::onBoundRectangleChanged " << rectangle;
    ParametricCurvePlotter::onBoundRectangleChanged(rectangle);
}

LevelMapping QX8NuqCurvePlotter::levelMapping() const
{
    return NuqGeometry(boundRectangle().width(), boundRectangle().height()).levelMapping();
}

void QX8NuqCurvePlotter::refreshBandPoints(int band)
{
    if (isSettling() || m_curves.isEmpty() || band < 0 || band >= bandCount())
        return;
    sampleBand(band, levelMapping());
    emitCurves();
}
