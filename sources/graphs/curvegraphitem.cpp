#include "curvegraphitem.h"

void CurveGraphItem::onCurvesChanged(QList<QMap<float, float>>& curves)
{
    m_curves = &curves;
    markDirty();
}
