#pragma once

#include <QColor>
#include <QVariant>

// Band colours as the pages give them: a list of colour names.
class BandPalette
{
public:
    // Entry `index`; a list shorter than the bands falls back to its last entry, an empty
    // list to grey.
    static QColor colorAt(const QVariant& colorNames, int index);
};
