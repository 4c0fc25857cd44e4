#pragma once

#include <QString>

// A loudspeaker or amplifier the device offers: an enumeration value is a small XML document whose
// first element carries the attributes "Brand", "Series" and "Model". A value that is not XML, or
// lacks an attribute, gives empty names.
struct WizardProduct
{
    QString brand;
    QString series;
    QString model;

    static WizardProduct fromValue(const QString& value);

    // The text of its row under the brand: series and model.
    QString seriesModelText() const { return series + QLatin1Char(' ') + model; }
    bool sameSeriesAndModel(const WizardProduct& other) const
    {
        return series == other.series && model == other.model;
    }
    bool operator<(const WizardProduct& other) const;
};
