#pragma once

#include "wizardbrandlistviewinfo.h"
#include "wizardbrandlistviewmodel.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QVector>

// The rows under one brand of the brand list (`brandListModel`, set by the page): the series and
// model of each of its products, then "Not listed??". Rebuilt at every write of `brand`.
class WizardBrandModelsModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QString wizardState READ wizardState WRITE setWizardState NOTIFY wizardStateChanged)
    Q_PROPERTY(QString brand READ brand WRITE setBrand NOTIFY brandChanged)
    Q_PROPERTY(WizardBrandListViewModel* brandListModel READ brandListModel WRITE setBrandListModel
                   NOTIFY brandListModelChanged)

public:
    explicit WizardBrandModelsModel(QObject* parent = nullptr);
    ~WizardBrandModelsModel() override;

    QString wizardState() const { return m_wizardState; }
    void setWizardState(const QString& state);
    QString brand() const { return m_brand; }
    void setBrand(const QString& brand);
    WizardBrandListViewModel* brandListModel() const { return m_brandList; }
    void setBrandListModel(WizardBrandListViewModel* model);

    // Empties the rows in one reset.
    void clearModel();
    // Appends one row at the end.
    void addListViewElement(const WizardBrandModelsListViewInfo& row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void brandChanged(QString str);
    void wizardStateChanged(QString str);
    void brandListModelChanged();

public Q_SLOTS:
    void onBrandChanged(QString str);

private:
    // The rows of the brand: its series and models, then "Not listed??".
    void resetModel();

    QVector<WizardBrandModelsListViewInfo> m_rows;
    QString m_wizardState;
    QString m_brand;
    QPointer<WizardBrandListViewModel> m_brandList;
};
