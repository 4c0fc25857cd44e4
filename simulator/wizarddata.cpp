#include "wizarddata.h"

#include "devicestate.h"

#include <QStringList>

#include <cmath>

namespace {

const QString kChoices = QStringLiteral("Node\\SetupWizardCurrentChoices\\SV\\");

const char* const kBrandNames[] = {"Harrow",   "Kestrel",  "Northgate",  "Brightwater",
                                   "Calder",   "Dunmore",  "Elmstead",   "Fairholm",
                                   "Glenrock", "Hollins",  "Ironbridge", "Juniper",
                                   "Kingsway", "Larkspur", "Marlow",     "Netherby"};
const char* const kBrandKinds[] = {"Audio", "Pro", "Acoustics"};
const char* const kSeriesNames[] = {"Line", "Point", "Stage", "Arc", "Venue"};

QString product(const QString& element, const QString& brand, const QString& series,
                const QString& model)
{
    return QStringLiteral("<%1 Brand='%2' Series='%3' Model='%4'/>")
        .arg(element, brand, series, model);
}

// Every brand with a few series of a few models each; the counts vary from brand to brand.
QStringList catalogue(const QString& element, int seriesPerBrand, int modelsPerSeries,
                      const QString& modelPrefix)
{
    QStringList values;
    int brandNumber = 0;
    for (const char* kind : kBrandKinds) {
        for (const char* name : kBrandNames) {
            const QString brand = QString::fromLatin1(name) + ' ' + QString::fromLatin1(kind);
            const int seriesCount = seriesPerBrand + brandNumber % 3;
            for (int s = 0; s < seriesCount; ++s) {
                const QString series = QString::fromLatin1(kSeriesNames[s % 5]);
                const int models = modelsPerSeries + (brandNumber + s) % 4;
                for (int m = 1; m <= models; ++m)
                    values << product(element, brand, series,
                                      modelPrefix + QString::number(m * 2 + 6));
            }
            ++brandNumber;
        }
    }
    // Joined with blanks, these two would both read "Harrow Audio HX 12 Mk2".
    values << product(element, "Harrow Audio", "HX 12", "Mk2")
           << product(element, "Harrow Audio", "HX", "12 Mk2")
           << product(element, "Custom", "Custom", "Custom");
    return values;
}

void offer(DeviceState& state, const QString& variable, const QStringList& products)
{
    if (StateVariable* choice = state.variable(kChoices + variable))
        state.replaceEntries(*choice, products);
}

// 640 levels on the device's fixed frequency grid (20 Hz at 143, 20 kHz at 623): a room with a
// bass build-up, a dip around 200 Hz and a falling top; the target a gentle house curve.
QString curveText(double (*level)(double position))
{
    QStringList levels;
    for (int i = 0; i < 640; ++i) {
        const double position = (i - 143) / 480.0; // 0 at 20 Hz, 1 at 20 kHz
        levels << QString::number(level(position), 'f', 2);
    }
    return levels.join(QLatin1Char(' '));
}

double roomLevel(double p)
{
    return 6.0 * std::exp(-std::pow((p - 0.18) / 0.08, 2)) -
           3.5 * std::exp(-std::pow((p - 0.34) / 0.05, 2)) - 5.0 * std::pow(std::max(p, 0.0), 3) +
           0.8 * std::sin(p * 37.0);
}

double targetLevel(double p)
{
    return 4.0 - 7.0 * std::min(std::max(p, 0.0), 1.0);
}

} // namespace

void loadWizardData(DeviceState& state)
{
    const QStringList speakers = catalogue("Speaker", 2, 3, "M");
    const QStringList subs = catalogue("Speaker", 1, 2, "S");
    const QStringList amplifiers = catalogue("Amplifier", 1, 3, "A");
    offer(state, "MainSpeaker", speakers);
    offer(state, "SubSpeaker", subs);
    for (const QString band : {"Low", "Mid", "High"})
        offer(state, band + "Amplifier", amplifiers);
    state.change("Preset\\RoomEQ\\SV\\Response", curveText(roomLevel));
    state.change("Preset\\RoomEQ\\SV\\Target", curveText(targetLevel));
}
