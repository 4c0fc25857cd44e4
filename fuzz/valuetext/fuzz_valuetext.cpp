// Value texts of device replies, read by every bound control, and the numbers a user types.
#include "fuzzsupport.h"
#include "typednumber.h"
#include "valuetext.h"

#include <cmath>

namespace {

// A delay in milliseconds, shown in feet and metres too, on a resolution of a hundredth.
DeviceModel::Variable delayVariable()
{
    DeviceModel::Variable delay;
    delay.kind = DeviceModel::Kind::Number;
    delay.minimum = 0;
    delay.maximum = 1000;
    delay.displayUnits = {
        {QStringLiteral("ms"), 1.0}, {QStringLiteral("ft"), 1.12533}, {QStringLiteral("m"), 0.343}};
    delay.steps = {{std::numeric_limits<double>::infinity(), 0.01}};
    return delay;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const std::optional<double> number = ValueText::number(text);
    if (number)
        FUZZ_CHECK(!std::isnan(*number));
    // Blanks around a value never change it.
    FUZZ_CHECK(ValueText::number(QLatin1Char(' ') + text + QLatin1Char('\t')) == number);

    // Typed into any of the delay's fields, a text is written as a number in range in
    // milliseconds, or refused with a reason.
    static const DeviceModel::Variable delay = delayVariable();
    for (const char* unit : {"ms", "ft", "m"}) {
        const TypedNumber::Reading reading = TypedNumber::read(delay, QLatin1String(unit), text);
        FUZZ_CHECK(reading.written.has_value() == reading.refusal.isEmpty());
        if (!reading.written)
            continue;
        FUZZ_CHECK(reading.written->endsWith(QLatin1String("ms")));
        bool ok = false;
        const double written = reading.written->chopped(2).toDouble(&ok);
        FUZZ_CHECK(ok && written >= 0 && written <= 1000);
    }
    return 0;
}
