#pragma once

#include "qx8enumsv.h"
#include "qx8textsv.h"
#include "wizardbrandlistviewinfo.h"
#include "wizardproduct.h"

#include <QAbstractListModel>
#include <QHash>
#include <QMap>
#include <QVector>

// The brands of the products a wizard step offers (the enumeration of its choice variable), in
// the device's order, each with its series and models; the brand "Custom" is the "Not listed??"
// row. Follows the device's value as a selection (brand row, row under the brand) and writes the
// product the user picks. Products are told apart by brand, series and model, never by a text
// made of them. A new amplifier channel or monitor of the step asks for the products again.
class WizardBrandListViewModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QString wizardState READ wizardState WRITE setWizardState NOTIFY wizardStateChanged)
    Q_PROPERTY(QString heading READ heading WRITE setHeading NOTIFY headingChanged)

public:
    static constexpr int kTextRole = Qt::UserRole + 1;

    explicit WizardBrandListViewModel(QObject* parent = nullptr);
    ~WizardBrandListViewModel() override;

    QString wizardState() const { return m_wizardState; }
    void setWizardState(const QString& state);
    QString heading() const { return m_heading; }
    void setHeading(const QString& heading);

    // The rows under `brand`: the series and model texts of its products, in the device's order.
    QStringList seriesModelsOf(const QString& brand) const;
    // Appends one row at the end.
    void addListViewElement(const WizardBrandListViewInfo& row);

    // Writes the product of the brand row and the row under it; -1, or the row after the last
    // product ("Not listed??"), picks the "Custom" product. Nothing is written for rows that do
    // not exist or a product the device does not offer (logged), nor for a value no console
    // line can carry (selectionRefused).
    Q_INVOKABLE void makeSelection(int brandIndex, int seriesModelIndex);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void wizardStateChanged(QString str);
    void headingChanged(QString heading);
    // The device's product: its brand row and its row under the brand; -1 for a product the
    // device does not offer, and both -1 for the Custom product.
    void selectionChanged(int brandIndex, int seriesModelIndex);
    void selectionRefused(QString reason);

public Q_SLOTS:
    void onSvEnumsChanged();
    void updateSvValue(QString value);
    void updateOtherSvValues(QString value);

private:
    struct Group
    {
        QString brand;
        QVector<WizardProduct> products;
    };

    void setSelection(const QString& value);
    void writeProduct(const WizardProduct& product);
    void followStepVariable(QX8TextSV& control, const QString& path);

    QVector<WizardBrandListViewInfo> m_rows;
    QVector<Group> m_groups;
    QHash<QString, int> m_groupOfBrand;
    QMap<WizardProduct, QString> m_values;
    QString m_wizardState;
    QString m_heading;
    QString m_currentValue;
    QX8EnumSV m_choice;
    QX8TextSV m_ampSelectChannel;
    QX8TextSV m_currentMonitor;
};
