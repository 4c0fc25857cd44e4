// Value texts of device replies, read by every bound control.
#include "fuzzsupport.h"
#include "valuetext.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const std::optional<double> number = ValueText::number(text);
    if (number)
        FUZZ_CHECK(!std::isnan(*number));
    // Blanks around a value never change it.
    FUZZ_CHECK(ValueText::number(QLatin1Char(' ') + text + QLatin1Char('\t')) == number);
    return 0;
}
