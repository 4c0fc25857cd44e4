#include "qtpeqnames.h"

#include <iterator>

namespace QtPEQ {

QString GetFilterName(eFilterType type)
{
    static const char* const names[] = {
        "Peaking",        "Peaking Dowl",      "Bandpass",         "Notch",
        "Lowpass 1",      "Lowpass 2",         "Lowpass Resonant", "Highpass 1",
        "Highpass 2",     "Highpass Resonant", "Low Shelf 1",      "Low Shelf 2",
        "Low Shelf Dowl", "High Shelf 1",      "High Shelf 2",     "High Shelf Dowl",
        "Allpass 1",      "Allpass 2",         "Peaking Nuq",      "Flat",
        "Peaking Jq+",    "Peaking Morla",     "Low Shelf Jq+",    "High Shelf Jq+",
    };
    const int index = static_cast<int>(type);
    if (index < 0 || index >= static_cast<int>(std::size(names)))
        return QStringLiteral("NEEDS NAME");
    return QString::fromLatin1(names[index]);
}

} // namespace QtPEQ
