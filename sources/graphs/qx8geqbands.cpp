#include "qx8geqbands.h"

#include "geqgeometry.h"
#include "qx8numericalsv.h"

#include <QDebug>
#include <cmath>

QX8GEQBands::QX8GEQBands(QObject* parent) : QObject(parent), m_variables(this)
{
    for (int band = 0; band < GeqGeometry::kBandCount; ++band)
        m_labels.append(QLatin1String(GeqGeometry::label(band)));
}

void QX8GEQBands::setBoundRectangle(const QRectF& rectangle)
{
    m_boundRectangle = rectangle;
    emit boundRectangleChanged(rectangle);
}

void QX8GEQBands::init(const QString& poName, int bandCount)
{
    const int count = qBound(0, bandCount, int(GeqGeometry::kBandCount));
    if (m_bound && poName == m_poName && count == m_bandCount)
        return;
    const bool arrivedBefore = allGainsArrived();
    m_variables.clear();
    m_values.clear();
    if (arrivedBefore)
        emit allGainsArrivedChanged(false);
    m_poName = poName;
    m_bandCount = count;
    m_bound = true;
    if (poName.isEmpty()) {
        qWarning() << "PONAME EMPTY ABORTING NumSV Creation";
        return;
    }
    for (int band = 0; band < count; ++band) {
        const QString& label = m_labels.at(band);
        QX8NumericalSV* control = m_variables.add<QX8NumericalSV>(
            poName, label, band, label, QString(), BandVariables::Subscription::OnNamesAndComplete);
        connect(control, &QX8NumericalSV::valueChanged, this, &QX8GEQBands::onSVChanged);
    }
}

void QX8GEQBands::onSVChanged(float value)
{
    const QString label = m_variables.parameterOf(sender());
    if (label.isEmpty() || !std::isfinite(value))
        return;
    const bool arrivedBefore = allGainsArrived();
    m_variables.markArrived(sender());
    m_values.insert(label, value);
    emit curvesChanged(m_values);
    if (allGainsArrived() != arrivedBefore)
        emit allGainsArrivedChanged(true);
}

std::optional<QPoint> QX8GEQBands::handle(int band) const
{
    if (band < 0 || band >= m_labels.size())
        return std::nullopt;
    const auto gain = m_values.constFind(m_labels.at(band));
    if (gain == m_values.cend())
        return std::nullopt;
    const GeqGeometry geometry(m_boundRectangle.width(), m_boundRectangle.height() * 2.0);
    const auto point = geometry.handle(band, *gain);
    return QPoint(point.x, point.y);
}

void QX8GEQBands::setControlPoint(int band, int x, int y)
{
    Q_UNUSED(x)
    if (!hasControlPoint(band))
        return;
    const GeqGeometry geometry(m_boundRectangle.width(), m_boundRectangle.height() * 2.0);
    updateSVMap(m_labels.at(band), float(geometry.gainForHandle(y, kMinGainDb, kMaxGainDb)));
}

void QX8GEQBands::stepGain(int band, int steps)
{
    if (band < 0 || band >= m_labels.size() || !hasGain(m_labels.at(band)))
        return;
    const QString& label = m_labels.at(band);
    const QX8NumericalSV* control = m_variables.numeric(label);
    if (control == nullptr)
        return;
    const double stepped = control->steppedByResolution(m_values.value(label), steps, QString());
    const float gain = float(qBound(kMinGainDb, stepped, kMaxGainDb));
    m_values.insert(label, gain);
    updateSVMap(label, gain);
}

void QX8GEQBands::updateSVMap(const QString& label, float value)
{
    QX8NumericalSV* control = m_variables.numeric(label);
    if (control == nullptr || !std::isfinite(value))
        return;
    control->setValueWithoutFeedback(float(qBound(kMinGainDb, double(value), kMaxGainDb)));
}
