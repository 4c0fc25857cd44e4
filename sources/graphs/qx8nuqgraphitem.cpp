#include "qx8nuqgraphitem.h"

#include "bandpalette.h"
#include "curvepainter.h"

#include <QPainter>

QX8NuqGraphItem::QX8NuqGraphItem(QQuickItem* parent)
    : CurveGraphItem(RepaintPolicy::Coalesce, 100, parent)
{
}

void QX8NuqGraphItem::setBandCount(int count)
{
    if (m_bandCount == count)
        return;
    m_bandCount = count;
    emit bandCountChanged(count);
}

void QX8NuqGraphItem::componentCompleted()
{
    qDebug() << "QX8NuqGraphItem::componentCompleted : " << poName() << m_bandCount;
    markCompleted();
}

void QX8NuqGraphItem::paint(QPainter* painter)
{
    if (!canPaint())
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    // The list ends with an unused entry after the band curves.
    for (int i = 0; i < curves().size() - 1; ++i) {
        const QMap<float, float>& curve = curves().at(i);
        if (curve.isEmpty())
            continue;
        CurvePainter::drawFilledCurve(*painter, CurvePainter::curvePath(curve, 0, height() * 0.5),
                                      BandPalette::colorAt(bandColors(), i));
    }
    emit repainted();
}
