#include "qx8rtagraphitem.h"

#include "analyserbands.h"
#include "qx8meter.h"
#include "valuetext.h"

#include <QPainter>
#include <cmath>
#include <utility>

QX8RTAGraphItem::QX8RTAGraphItem(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    m_repaintTimer.setSingleShot(true);
    m_repaintTimer.setInterval(kRepaintMs);
    connect(&m_repaintTimer, &QTimer::timeout, this, [this] { update(); });
    connect(this, &QX8RTAGraphItem::levelSpanChanged, this, [this] { update(); });
    connect(this, &QX8RTAGraphItem::barColorChanged, this, [this] { update(); });
}

QX8RTAGraphItem::~QX8RTAGraphItem()
{
    m_repaintTimer.stop();
    unbind();
}

void QX8RTAGraphItem::setPOName(const QString& name)
{
    if (m_poName == name)
        return;
    m_poName = name;
    emit poNameChanged(name);
}

void QX8RTAGraphItem::setBandCount(int count)
{
    count = qMax(0, count);
    if (m_bandCount == count)
        return;
    m_bandCount = count;
    emit bandCountChanged(count);
}

double QX8RTAGraphItem::lowestFrequency() const
{
    return AnalyserBands::lowerEdgeHz(1);
}

double QX8RTAGraphItem::highestFrequency() const
{
    return AnalyserBands::upperEdgeHz(qMax(1, m_bandCount));
}

void QX8RTAGraphItem::componentCompleted()
{
    if (!m_meters.isEmpty() && m_boundName == m_poName && m_boundCount == m_bandCount)
        return;
    unbind();
    m_boundName = m_poName;
    m_boundCount = m_bandCount;
    m_levels.fill(qQNaN(), m_bandCount);
    if (m_poName.isEmpty())
        return;
    for (int band = 1; band <= m_bandCount; ++band) {
        auto* meter = new QX8Meter(this);
        meter->setPOName(m_poName);
        meter->setSVName(QStringLiteral("Band_%1_Level").arg(band));
        connect(meter, &QX8Meter::meterValueChanged, this,
                [this, band](const QString& text) { onMeterValue(band - 1, text); });
        meter->componentCompleted();
        m_meters.append(meter);
    }
    update();
}

// The meters poll until they go; each stops its timer as it is deleted.
void QX8RTAGraphItem::unbind()
{
    const QList<QX8Meter*> meters = std::exchange(m_meters, {});
    qDeleteAll(meters);
    m_levels.clear();
}

void QX8RTAGraphItem::onMeterValue(int band, const QString& text)
{
    m_levels[band] = ValueText::number(text).value_or(qQNaN());
    if (!m_repaintTimer.isActive())
        m_repaintTimer.start();
}

void QX8RTAGraphItem::paint(QPainter* painter)
{
    const double span = m_maximumLevel - m_minimumLevel;
    if (m_levels.isEmpty() || !(span > 0) || width() <= 0 || height() <= 0)
        return;
    const double slot = width() / m_levels.size();
    const double gap = qMax(1.0, slot * 0.15);
    for (int band = 0; band < m_levels.size(); ++band) {
        const double level = m_levels.at(band);
        if (std::isnan(level))
            continue;
        const double top = height() * (1.0 - qBound(0.0, (level - m_minimumLevel) / span, 1.0));
        painter->fillRect(QRectF(band * slot + gap / 2, top, slot - gap, height() - top),
                          m_barColor);
    }
    emit repainted();
}
