#pragma once

#include <QObject>
#include <QString>

// The label of a crossover band, for the crossover screen: from the display names of the
// templates, for the crossover object last opened ("Data/CurrentPOData", read on every call).
class CrossoverBandInfoProvider : public QObject
{
    Q_OBJECT

public:
    explicit CrossoverBandInfoProvider(QObject* parent = nullptr);

    // "Band" when the object or the band has no label.
    Q_INVOKABLE QString getBandName(int bandNo);
};
