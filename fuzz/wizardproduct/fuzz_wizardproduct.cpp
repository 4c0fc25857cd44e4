// A product value as the device may send it in an enumeration: whatever it holds, the names read
// from it survive being written back as a value, and products order strictly.
#include "fuzzsupport.h"
#include "wizardproduct.h"

#include <QXmlStreamWriter>

namespace {

QString valueOf(const WizardProduct& product)
{
    QString value;
    QXmlStreamWriter writer(&value);
    writer.writeEmptyElement(QStringLiteral("Speaker"));
    writer.writeAttribute(QStringLiteral("Brand"), product.brand);
    writer.writeAttribute(QStringLiteral("Series"), product.series);
    writer.writeAttribute(QStringLiteral("Model"), product.model);
    writer.writeEndDocument();
    return value;
}

bool same(const WizardProduct& a, const WizardProduct& b)
{
    return a.brand == b.brand && a.series == b.series && a.model == b.model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString value = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const WizardProduct product = WizardProduct::fromValue(value);
    FUZZ_CHECK(same(WizardProduct::fromValue(valueOf(product)), product));

    // The same names in another order: a second product to compare with.
    const WizardProduct other{product.model, product.brand, product.series};
    FUZZ_CHECK(!(product < product));
    FUZZ_CHECK(!(product < other && other < product));
    FUZZ_CHECK(product < other || other < product || same(product, other));
    FUZZ_CHECK(product.sameSeriesAndModel(product));
    return 0;
}
