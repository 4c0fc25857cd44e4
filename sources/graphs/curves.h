#pragma once

#include <QList>
#include <QPointF>
#include <QVector>

// A plotted curve: its points (pixel x, height in pixels) in ascending x, dense so that a
// refresh rewrites it in place. A plotter publishes one per band (and the total where it draws
// one); its items keep a reference to the list.
using Curve = QVector<QPointF>;
using Curves = QList<Curve>;
