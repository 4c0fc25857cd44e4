#pragma once

#include <QMap>
#include <QObject>

// Looks up, by button type or processing-object class, a home-screen button's icon, a block's
// caption and on/off variable, and two colours; reads display names from a processing object's
// JSON description.
class ButtonImageResolver : public QObject
{
    Q_OBJECT

public:
    explicit ButtonImageResolver(QObject* parent = nullptr);

    Q_INVOKABLE QString imagePath(QString buttonType);
    Q_INVOKABLE QString buttonText(QString buttonType);
    Q_INVOKABLE QString toggleSVName(QString buttonType);
    Q_INVOKABLE QString color(QString buttonType);
    Q_INVOKABLE QString txtColor(QString buttonType);
    Q_INVOKABLE QString outputName(QString string);
    Q_INVOKABLE QString routerName(QString string);

private:
    QMap<QString, QString> m_imagePaths;
    QMap<QString, QString> m_textColors;
    QMap<QString, QString> m_buttonTexts;
    QMap<QString, QString> m_backgroundColors;
    QMap<QString, QString> m_toggleSVNames;
};
