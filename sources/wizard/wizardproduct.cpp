#include "wizardproduct.h"

#include <QXmlStreamReader>

#include <tuple>

// Only the first element is read: no document type, no entities beyond XML's own.
WizardProduct WizardProduct::fromValue(const QString& value)
{
    QXmlStreamReader reader(value);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        return {attributes.value(QLatin1String("Brand")).toString(),
                attributes.value(QLatin1String("Series")).toString(),
                attributes.value(QLatin1String("Model")).toString()};
    }
    return {};
}

bool WizardProduct::operator<(const WizardProduct& other) const
{
    return std::tie(brand, series, model) < std::tie(other.brand, other.series, other.model);
}
