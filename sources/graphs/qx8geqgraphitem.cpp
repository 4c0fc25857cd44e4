#include "qx8geqgraphitem.h"

#include "geqgeometry.h"
#include "qx8geqbands.h"

#include <QDebug>
#include <QPainter>

QX8GEQGraphItem::QX8GEQGraphItem(QQuickItem* parent)
    : GraphItemBase(RepaintPolicy::Debounce, 50, parent), m_bands(new QX8GEQBands(this))
{
    connect(m_bands, &QX8GEQBands::curvesChanged, this, &QX8GEQGraphItem::onCurvesChanged);
    connect(m_bands, &QX8GEQBands::allGainsArrivedChanged, this,
            &QX8GEQGraphItem::allGainsArrivedChanged);
    m_values = &m_bands->values();
    setRenderTarget(QQuickPaintedItem::FramebufferObject);
}

QVariantList QX8GEQGraphItem::controlPoints() const
{
    QVariantList points;
    for (const std::optional<QPointF>& point : m_handles)
        points.append(point.value_or(QPointF()));
    return points;
}

bool QX8GEQGraphItem::hasControlPoint(int index) const
{
    return index >= 0 && index < m_handles.size() && m_handles.at(index).has_value();
}

QStringList QX8GEQGraphItem::bandLabels() const
{
    return m_bands->labels();
}

bool QX8GEQGraphItem::allGainsArrived() const
{
    return m_bands->allGainsArrived();
}

void QX8GEQGraphItem::componentCompleted()
{
    m_bands->init(poName(), GeqGeometry::kBandCount);
    markCompleted();
    pushPlotRectangle();
}

void QX8GEQGraphItem::setPlotRectangle(const QRectF& rectangle)
{
    m_bands->setBoundRectangle(rectangle);
}

void QX8GEQGraphItem::setControlPoint(int pointID, int x, int y)
{
    m_bands->setControlPoint(pointID, x, y);
}

void QX8GEQGraphItem::reDrawBands(int previousX, int x, int y)
{
    const GeqGeometry geometry(width(), height());
    const double gain = geometry.gainForSweep(y, QX8GEQBands::kMinGainDb, QX8GEQBands::kMaxGainDb);
    for (int column : geometry.sweepColumns(previousX, x))
        drawBand(column, gain);
}

void QX8GEQGraphItem::stepBand(int band, int steps)
{
    m_bands->stepGain(band, steps);
    update();
}

void QX8GEQGraphItem::drawBand(int column, double gain)
{
    const QString label = QLatin1String(GeqGeometry::label(column));
    if (!m_bands->hasGain(label))
        return;
    m_sweeping = true;
    m_sweepBand = column;
    // Shown at once; the device's report follows.
    m_bands->values().insert(label, float(gain));
    m_bands->updateSVMap(label, float(gain));
    update();
}

void QX8GEQGraphItem::onCurvesChanged(QMap<QString, float>& values)
{
    m_values = &values;
    markDirty();
}

void QX8GEQGraphItem::paint(QPainter* painter)
{
    if (!isCompleted() || m_values == nullptr || m_values->isEmpty())
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    const GeqGeometry geometry(width(), height());
    for (int band = 0; band < GeqGeometry::kBandCount; ++band) {
        // A band not reported has no bar: a 0 dB one would claim a gain.
        const std::optional<float> gain = gainOf(band);
        if (!gain)
            continue;
        const GeqGeometry::Rect bar = geometry.bar(band, *gain);
        painter->fillRect(QRect(bar.left, bar.top, bar.width, bar.height),
                          QColor(255, 25 + 7 * band, 0));
    }
    refreshHandles();
    emit repainted();
}

void QX8GEQGraphItem::refreshHandles()
{
    // From the latest device values; none for a band not reported yet.
    const GeqGeometry geometry(width(), height());
    m_handles.clear();
    for (int band = 0; band < GeqGeometry::kBandCount; ++band) {
        const std::optional<float> gain = gainOf(band);
        if (!gain) {
            m_handles.append(std::nullopt);
            continue;
        }
        const auto handle = geometry.handle(band, *gain);
        m_handles.append(QPointF(handle.x, handle.y));
    }
    qDebug() << "return";
}

std::optional<float> QX8GEQGraphItem::gainOf(int band) const
{
    const auto gain = m_values->constFind(QLatin1String(GeqGeometry::label(band)));
    if (gain == m_values->cend())
        return std::nullopt;
    return *gain;
}
