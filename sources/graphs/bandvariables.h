#pragma once

#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

class QX8Control;
class QX8NumericalSV;
class QX8TextSV;

// The value objects a plotter binds its band parameters to, with the band and parameter word
// of each by state-variable name. The objects are children of the owner and go with clear().
class BandVariables
{
public:
    explicit BandVariables(QObject* owner) : m_owner(owner) {}
    ~BandVariables() = default;
    BandVariables(const BandVariables&) = delete;
    BandVariables& operator=(const BandVariables&) = delete;

    enum class Subscription {
        OnNames,            // the names subscribe once the device is ready
        OnNamesAndComplete, // and componentCompleted() asks again at once
    };

    // A new numeric (QX8NumericalSV) or text (QX8TextSV) object, named and registered.
    template<typename Control>
    Control* add(const QString& poName, const QString& svName, int band, const QString& parameter,
                 const QString& entityName, Subscription subscription)
    {
        auto* control = new Control(m_owner);
        bind(control, poName, svName, band, parameter, entityName, subscription);
        return control;
    }
    // Deletes every object (each unsubscribes as it goes) and forgets the maps.
    void clear();

    bool isEmpty() const { return svByName.isEmpty(); }
    QX8NumericalSV* numeric(const QString& svName) const;

    // The band and parameter word of a value object of this set; -1 and empty for any other.
    int bandOf(const QObject* object) const;
    QString parameterOf(const QObject* object) const;
    QString svNameOf(const QObject* object) const;

    // A value has come from the device for this object (before that it holds a start value).
    // True when it was the last one its band lacked.
    bool markArrived(const QObject* object);
    // Every value of the band has come; false for a band without values.
    bool bandArrived(int band) const;
    // Every value bound has come; false while none is bound.
    bool allArrived() const { return !svByName.isEmpty() && m_arrived.size() == svByName.size(); }

    QMap<QString, QX8Control*> svByName;
    QMap<QString, int> bandOfSV;
    QMap<QString, QString> parameterOfSV;

private:
    void bind(QX8Control* control, const QString& poName, const QString& svName, int band,
              const QString& parameter, const QString& entityName, Subscription subscription);

    QObject* m_owner;
    QSet<QString> m_arrived;
};
