#include "configdataprovider.h"

#include "qx8settings.h"
#include "settingskeys.h"

#include <QJsonDocument>
#include <QStringList>

namespace {

QJsonObject settingsObject(const char* key)
{
    const QString text = QX8Settings().value(QLatin1String(key), QString()).toString();
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

// The last object, string or number the "/"-separated path reaches on its way; a part that finds
// nothing is passed over.
QJsonValue valueAt(QJsonObject reached, const QString& path)
{
    QJsonValue result;
    if (path.isEmpty())
        return result;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        const QJsonValue found = reached.value(part);
        if (found.isObject())
            reached = found.toObject();
        if (found.isObject() || found.isString() || found.isDouble())
            result = found;
    }
    return result;
}

QMap<QString, QString> mixerImageTable()
{
    QMap<QString, QString> images;
    const auto add = [&images](const QString& key, const QString& file) {
        images.insert(key, QStringLiteral("/images/MixerTypes/%1_Large.png").arg(file));
    };
    for (int input = 1; input <= 7; ++input) {
        add(QStringLiteral("In:In%1").arg(input), QStringLiteral("InMixIn%1").arg(input));
        add(QStringLiteral("Mid:In%1").arg(input), QStringLiteral("MidMixIn%1").arg(input));
    }
    for (const char* route :
         {"A", "B", "C", "A+B", "B+C", "A+B+C", "1", "2", "3", "1+2", "2+3", "1+2+3"}) {
        add(QStringLiteral("Mid:") + QLatin1String(route),
            QStringLiteral("MidMix") + QLatin1String(route));
    }
    return images;
}

} // namespace

ConfigDataProvider::ConfigDataProvider(QObject* parent)
    : QObject(parent)
    , m_currentObject(settingsObject(settingskeys::kCurrentPoData))
    , m_mixerImages(mixerImageTable())
{
}

QString ConfigDataProvider::poName(QString gridName, int channelIdx)
{
    int base = 0;
    if (gridName == QLatin1String("mid"))
        base = 3;
    else if (gridName == QLatin1String("out"))
        base = 9;
    const QJsonObject delays = settingsObject(settingskeys::kDelayPoJson);
    return delays.value(QString::number(base + channelIdx)).toString();
}

QString ConfigDataProvider::value(QString jPath)
{
    const QJsonValue found = valueAt(m_currentObject, jPath);
    if (found.isObject())
        return QString::fromUtf8(QJsonDocument(found.toObject()).toJson());
    if (found.isString())
        return found.toString();
    if (found.isDouble())
        return QString::number(found.toDouble(), 'g', 6);
    return QString();
}

QString ConfigDataProvider::crossoverTypeString()
{
    return value(QStringLiteral("Attributes/Format")) +
           value(QStringLiteral("Attributes/NumMainCabinets")) + QLatin1Char('0') +
           value(QStringLiteral("Attributes/SubFormat")) +
           value(QStringLiteral("Attributes/SubNoSum"));
}

QString ConfigDataProvider::meterPO(QString mixerType)
{
    static const QMap<QString, QString> meters{
        {QStringLiteral("8x1InputMixer"), QStringLiteral("InputMeters:Meters123")},
        {QStringLiteral("MidMixerABC"), QStringLiteral("MetersABC:MidMeters")},
        {QStringLiteral("MidMixer123"), QStringLiteral("Meters123:MidMeters")},
        {QStringLiteral("MidMixerInputs"), QStringLiteral("InputMeters:MidMeters")},
        {QStringLiteral("MidRouter123"), QStringLiteral("InputMeters:MidMeters")},
        {QStringLiteral("FixedInputRoute"), QStringLiteral("InputMeters:Meters123")},
        {QStringLiteral("MidRouterABC"), QStringLiteral(":MidMeters")},
        {QStringLiteral("InRouter1"), QStringLiteral(":InMeters")},
        {QStringLiteral("InRouter2"), QStringLiteral(":InMeters")},
        {QStringLiteral("InRouter3"), QStringLiteral(":InMeters")},
    };
    if (const auto found = meters.constFind(mixerType); found != meters.constEnd())
        return *found;
    for (int router = 1; router <= 7; ++router) {
        if (mixerType == QStringLiteral("MidRouter%1").arg(router))
            return QStringLiteral(":MidMeters");
    }
    return QString();
}

QVariant ConfigDataProvider::mixerSVList()
{
    return valueAt(m_currentObject, QStringLiteral("SVValues")).toObject().keys();
}

QVariant ConfigDataProvider::routerImage(QString key)
{
    return m_mixerImages.value(key);
}
