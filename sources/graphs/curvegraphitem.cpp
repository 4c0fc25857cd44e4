#include "curvegraphitem.h"

void CurveGraphItem::onCurvesChanged(Curves& curves)
{
    m_curves = &curves;
    markDirty();
}
