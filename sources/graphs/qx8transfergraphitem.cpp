#include "qx8transfergraphitem.h"

#include <QPainter>
#include <QPainterPath>

QX8TransferGraphItem::QX8TransferGraphItem(QQuickItem* parent)
    : QQuickPaintedItem(parent), m_plotter(new TransferCurvePlotter(this))
{
    connect(m_plotter, &TransferCurvePlotter::curveChanged, this,
            &QX8TransferGraphItem::onCurveChanged);
    connect(this, &QX8TransferGraphItem::colorsChanged, this, [this] { update(); });
}

// Nothing the plotter says while it goes may reach this half-destroyed item.
QX8TransferGraphItem::~QX8TransferGraphItem()
{
    m_plotter->disconnect();
}

void QX8TransferGraphItem::setPOName(const QString& name)
{
    if (m_poName == name)
        return;
    m_poName = name;
    emit poNameChanged(name);
}

void QX8TransferGraphItem::setLaw(TransferCurvePlotter::Law law)
{
    if (m_law == law)
        return;
    m_law = law;
    emit lawChanged(law);
}

void QX8TransferGraphItem::setMinimumLevel(double level)
{
    if (m_minimumLevel == level)
        return;
    m_minimumLevel = level;
    m_plotter->setLevelSpan(m_minimumLevel, m_maximumLevel);
    emit levelSpanChanged();
}

void QX8TransferGraphItem::setMaximumLevel(double level)
{
    if (m_maximumLevel == level)
        return;
    m_maximumLevel = level;
    m_plotter->setLevelSpan(m_minimumLevel, m_maximumLevel);
    emit levelSpanChanged();
}

void QX8TransferGraphItem::componentCompleted()
{
    m_plotter->setLevelSpan(m_minimumLevel, m_maximumLevel);
    m_plotter->init(m_poName, m_law);
}

void QX8TransferGraphItem::onCurveChanged()
{
    emit curveChanged();
    update();
}

QPointF QX8TransferGraphItem::pointFor(double inputDb, double outputDb) const
{
    const double span = m_maximumLevel - m_minimumLevel;
    // Far outside the frame is as good as at infinity, and the painter takes it.
    const double up = qBound(-1.0, (outputDb - m_minimumLevel) / span, 2.0);
    return {width() * (inputDb - m_minimumLevel) / span, height() * (1.0 - up)};
}

void QX8TransferGraphItem::paint(QPainter* painter)
{
    if (!(m_maximumLevel > m_minimumLevel) || width() <= 0 || height() <= 0)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setClipRect(QRectF(0, 0, width(), height()));
    painter->setPen(QPen(m_unityColor, 1, Qt::DashLine));
    painter->drawLine(pointFor(m_minimumLevel, m_minimumLevel),
                      pointFor(m_maximumLevel, m_maximumLevel));
    const std::vector<TransferCurve::Point>& curve = m_plotter->curve();
    if (!curve.empty()) {
        QPainterPath path(pointFor(curve.front().inputDb, curve.front().outputDb));
        for (const TransferCurve::Point& point : curve)
            path.lineTo(pointFor(point.inputDb, point.outputDb));
        painter->setPen(QPen(m_curveColor, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->drawPath(path);
    }
    emit repainted();
}
