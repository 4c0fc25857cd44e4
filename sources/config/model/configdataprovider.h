#pragma once

#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QVariant>

// Facts a processing-object screen reads about the object it shows: values at paths inside the
// object's description (stored by the home screen under "Data/CurrentPOData" when the object was
// opened, read once here), a mixer's state-variable names, the meter objects of a mixer type,
// delay-object names by grid position and the pictures of the mixer types.
class ConfigDataProvider : public QObject
{
    Q_OBJECT

public:
    explicit ConfigDataProvider(QObject* parent = nullptr);

    // The delay object at a grid position ("in", "mid", "out"), from "Data/DelayPOJson".
    Q_INVOKABLE QString poName(QString gridName, int channelIdx);
    // The value at a "/"-separated path: an object as indented JSON text, a string as it is, a
    // number in 'g' format; a part that finds nothing keeps the last value found on the way.
    Q_INVOKABLE QString value(QString jPath);
    Q_INVOKABLE QString crossoverTypeString();
    // "<input-meter object>:<master-meter object>"; empty for an unknown mixer type.
    Q_INVOKABLE QString meterPO(QString mixerType);
    Q_INVOKABLE QVariant mixerSVList();
    Q_INVOKABLE QVariant routerImage(QString key);

private:
    QJsonObject m_currentObject;
    QMap<QString, QString> m_mixerImages;
};
