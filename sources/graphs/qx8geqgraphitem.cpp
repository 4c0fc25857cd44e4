#include "qx8geqgraphitem.h"

#include "geqgeometry.h"
#include "qx8geqbands.h"

#include <QDebug>
#include <QPainter>

QX8GEQGraphItem::QX8GEQGraphItem(QQuickItem* parent)
    : GraphItemBase(RepaintPolicy::Debounce, 50, parent), m_bands(new QX8GEQBands(this))
{
    connect(m_bands, &QX8GEQBands::curvesChanged, this, &QX8GEQGraphItem::onCurvesChanged);
    m_values = &m_bands->values();
    setRenderTarget(QQuickPaintedItem::FramebufferObject);
}

QVariantList QX8GEQGraphItem::controlPoints() const
{
    QVariantList points;
    for (const QPointF& point : m_handles)
        points.append(point);
    return points;
}

QStringList QX8GEQGraphItem::bandLabels() const
{
    return m_bands->labels();
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

void QX8GEQGraphItem::drawBand(int column, double gain)
{
    const QString label = QLatin1String(GeqGeometry::label(column));
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
        const float gain = m_values->value(QLatin1String(GeqGeometry::label(band)), 0.0f);
        const GeqGeometry::Rect bar = geometry.bar(band, gain);
        painter->fillRect(QRect(bar.left, bar.top, bar.width, bar.height),
                          QColor(255, 25 + 7 * band, 0));
    }
    refreshHandles();
    emit repainted();
}

void QX8GEQGraphItem::refreshHandles()
{
    // From the latest device values (0 until a band reports), never from a value not yet read.
    const GeqGeometry geometry(width(), height());
    const int count = qMin(m_values->size(), GeqGeometry::kBandCount);
    for (int band = 0; band < count; ++band) {
        const auto handle =
            geometry.handle(band, m_values->value(QLatin1String(GeqGeometry::label(band)), 0.0f));
        const QPointF point(handle.x, handle.y);
        if (band < m_handles.size())
            m_handles[band] = point;
        else
            m_handles.append(point);
    }
    qDebug() << "return";
}
