#include "qx8peqgraphitem.h"

#include "bandpalette.h"
#include "curvepainter.h"
#include "peqgeometry.h"
#include "qx8peqcurveplotter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

QPen overlayPen(const QColor& color, qreal width)
{
    QPen pen(color, width);
    pen.setJoinStyle(Qt::BevelJoin);
    return pen;
}

} // namespace

QX8PEQGraphItem::QX8PEQGraphItem(QQuickItem* parent)
    : CurveGraphItem(RepaintPolicy::Coalesce, 100, parent)
    , m_plotter(new QX8PEQCurvePlotter(this, 10))
{
    drawFrom(m_plotter);
    connect(this, &QQuickItem::widthChanged, this, &QX8PEQGraphItem::dimensionsChanged);
    connect(this, &QQuickItem::heightChanged, this, &QX8PEQGraphItem::dimensionsChanged);
    connect(this, &QX8PEQGraphItem::currentBandIndexChanged, m_plotter,
            &QX8PEQCurvePlotter::setCurrentBandIndex);
}

void QX8PEQGraphItem::setBandCount(int count)
{
    if (m_bandCount == count)
        return;
    m_bandCount = count;
    emit bandCountChanged(count);
}

QVariantList QX8PEQGraphItem::controlPoints() const
{
    QVariantList points;
    for (const std::optional<QPointF>& point : m_handles)
        points.append(point.value_or(QPointF()));
    return points;
}

bool QX8PEQGraphItem::hasControlPoint(int index) const
{
    return index >= 0 && index < m_handles.size() && m_handles.at(index).has_value();
}

void QX8PEQGraphItem::setShowRoomCurve(bool show)
{
    m_showRoomCurve = show;
    update();
}

void QX8PEQGraphItem::setRoomCurveString(const QString& text)
{
    m_roomText = text;
    m_room = OverlayCurve(text);
    update();
}

void QX8PEQGraphItem::setTargetCurveString(const QString& text)
{
    m_targetText = text;
    m_target = OverlayCurve(text);
    update();
}

void QX8PEQGraphItem::setFinalResultantVisible(bool visible)
{
    m_finalResultantVisible = visible;
    update();
}

void QX8PEQGraphItem::componentCompleted()
{
    qDebug() << "QX8PEQGraphItem::componentCompleted : " << poName();
    m_plotter->init(poName(), m_bandCount);
    markCompleted();
    pushPlotRectangle();
}

void QX8PEQGraphItem::boundingRectChanged()
{
    qDebug() << "QX8PEQGraphItem::boundingRectChanged : " << width() << " , " << height();
    CurveGraphItem::boundingRectChanged();
}

void QX8PEQGraphItem::setPlotRectangle(const QRectF& rectangle)
{
    m_plotter->setBoundRectangle(rectangle);
}

void QX8PEQGraphItem::setControlPoint(int pointID, int x, int y)
{
    m_plotter->setControlPoint(pointID, x, y);
}

void QX8PEQGraphItem::refreshHandles()
{
    if (!m_touchPointsVisible)
        return;
    for (int band = 0; band < curves().size() - 1; ++band) {
        const std::optional<QPoint> handle = m_plotter->handle(band);
        const std::optional<QPointF> point =
            handle ? std::optional<QPointF>(*handle) : std::nullopt;
        if (band < m_handles.size())
            m_handles[band] = point;
        else
            m_handles.append(point);
    }
}

void QX8PEQGraphItem::paint(QPainter* painter)
{
    if (!canPaint())
        return;
    const PeqGeometry geometry(width(), height() * 0.5);
    painter->setRenderHint(QPainter::Antialiasing);
    drawRoomCurve(*painter, geometry);
    refreshHandles();
    drawBandCurves(*painter);
    drawTargetCurve(*painter, geometry);
    drawFinalResultant(*painter, geometry);
    emit repainted();
}

void QX8PEQGraphItem::drawRoomCurve(QPainter& painter, const PeqGeometry& geometry)
{
    if (m_roomText.isEmpty() || !m_showRoomCurve || !m_room.isDrawable())
        return;
    const qreal middle = height() * 0.5;
    QPainterPath path;
    path.moveTo(0, middle);
    for (int i = OverlayCurve::kFirstDrawn; i <= OverlayCurve::kLastDrawn; ++i)
        path.lineTo(geometry.overlayX(OverlayCurve::frequency(i)),
                    geometry.overlayY(-m_room.level(i)));
    path.lineTo(geometry.overlayX(OverlayCurve::frequency(OverlayCurve::kLastDrawn)), middle);
    path.closeSubpath();
    painter.setPen(overlayPen(QColor::fromRgbF(0.6, 0.6, 0.6), 2));
    painter.setBrush(QColor::fromRgbF(0.69, 0.69, 0.69, 147 / 255.0));
    painter.drawPath(path);
}

void QX8PEQGraphItem::drawBandCurves(QPainter& painter)
{
    const qreal middle = height() * 0.5;
    const int total = curves().size() - 1;
    drawBands(painter, total, middle, middle,
              [this](int band) { return BandPalette::colorAt(bandColors(), band); });
    if (hasGuesses())
        return;
    const QPolygonF& totalLine = polyline(total, middle, middle);
    if (!totalLine.isEmpty())
        CurvePainter::drawWidePolyline(painter, totalLine, overlayPen(Qt::white, 2));
}

void QX8PEQGraphItem::drawTargetCurve(QPainter& painter, const PeqGeometry& geometry)
{
    if (m_targetText.isEmpty() || !m_target.isDrawable())
        return;
    QPolygonF line;
    for (int i = OverlayCurve::kFirstDrawn; i <= OverlayCurve::kLastDrawn; ++i)
        line.append(QPointF(geometry.overlayX(OverlayCurve::frequency(i)),
                            geometry.overlayY(-m_target.level(i))));
    line.append(QPointF(geometry.overlayX(OverlayCurve::frequency(OverlayCurve::kLastDrawn)),
                        height() * 0.5));
    CurvePainter::drawWidePolyline(painter, line,
                                   overlayPen(QColor::fromRgbF(0.85, 0.72, 0.11), 3));
}

void QX8PEQGraphItem::drawFinalResultant(QPainter& painter, const PeqGeometry& geometry)
{
    if (m_roomText.isEmpty() || !m_room.isDrawable() || !m_finalResultantVisible || hasGuesses())
        return;
    const Curve& total = curves().last();
    if (total.isEmpty())
        return;
    QPolygonF line;
    line.append(QPointF(0, height() * 0.5));
    for (int i = OverlayCurve::kFirstDrawn; i <= OverlayCurve::kLastDrawn && i < m_room.size();
         ++i) {
        const qreal x = geometry.overlayX(OverlayCurve::frequency(i));
        // The total point right of x; at the right edge there is none, so the last point.
        const auto point = std::upper_bound(total.cbegin(), total.cend(), x,
                                            [](qreal x, const QPointF& p) { return x < p.x(); });
        const qreal lift = point == total.cend() ? total.last().y() : point->y();
        line.append(QPointF(x, geometry.overlayY(-m_room.level(i)) - lift));
    }
    line.append(QPointF(total.last().x(), height() * 0.5));
    CurvePainter::drawWidePolyline(painter, line,
                                   overlayPen(QColor::fromRgbF(0.56, 0.79, 0.23), 3));
}
