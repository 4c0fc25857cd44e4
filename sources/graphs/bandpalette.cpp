#include "bandpalette.h"

#include <QStringList>

QColor BandPalette::colorAt(const QVariant& colorNames, int index)
{
    const QStringList names = colorNames.toStringList();
    if (names.isEmpty())
        return QColor(Qt::gray);
    return QColor(names.at(qBound(0, index, names.size() - 1)));
}
