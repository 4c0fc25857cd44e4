#pragma once

#include <QSizeF>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

// One picture of the application: where it lies below images/, the size a page shows it at in
// design units, how many pixels the file has per unit, and its drawing, made in design units
// inside a box of that size at the origin.
struct Picture
{
    QString path;
    QSizeF size;
    double scale;
    std::function<void(QPainter&, const QSizeF&)> draw;
};

// Every picture the pages name, but the help pictures (scripts/help-pictures.sh makes those
// from the running application).
std::vector<Picture> catalogue();

// The application's icon, as the window shows it; the desktop's icon theme takes it at other
// scales too.
Picture applicationIcon();
