#pragma once

#include "qtpeq.h"

#include <QString>

namespace QtPEQ {

// Display name of a filter type; "NEEDS NAME" for a number outside the table.
QString GetFilterName(eFilterType type);

} // namespace QtPEQ
