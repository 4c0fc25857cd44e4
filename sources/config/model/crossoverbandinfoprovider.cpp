#include "crossoverbandinfoprovider.h"

#include "jsontext.h"
#include "kalo480configeditor.h"
#include "qx8settings.h"
#include "settingskeys.h"

CrossoverBandInfoProvider::CrossoverBandInfoProvider(QObject* parent) : QObject(parent) {}

QString CrossoverBandInfoProvider::getBandName(int bandNo)
{
    const QString text =
        QX8Settings().value(QLatin1String(settingskeys::kCurrentPoData), QString()).toString();
    const Json::Value object = jsontext::parse(text.toStdString());
    const std::string name = Kalo480ConfigEditor::getCrossoverBandName(object, bandNo);
    return name.empty() ? QStringLiteral("Band") : QString::fromStdString(name);
}
