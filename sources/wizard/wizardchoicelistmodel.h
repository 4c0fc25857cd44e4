#pragma once

#include "qx8enumsv.h"
#include "wizarddescriptor.h"
#include "wizardlistviewinfo.h"

#include <QAbstractListModel>
#include <QVector>

// The model of a wizard list page: for the wizard state it is given, the state's block of a
// descriptor file names an enumerated device variable and dresses its entries with texts and
// pictures. The rows are always the device's enumeration, in the device's order; the wizard menu
// ("Inactive") lists the block's rows themselves. A page serves one wizard state.
class WizardChoiceListModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QString wizardState READ wizardState WRITE setWizardState NOTIFY wizardStateChanged)
    Q_PROPERTY(QString heading READ heading WRITE setHeading NOTIFY headingChanged)
    Q_PROPERTY(QString svValue READ svValue WRITE setSvValue NOTIFY svValueChanged)
    Q_PROPERTY(QString titleString READ titleString WRITE setTitleString NOTIFY titleStringChanged)

public:
    enum Role { TextRole = Qt::UserRole + 1, ImageRole, ValueRole, CrossoverCodeRole };

    QString wizardState() const { return m_wizardState; }
    void setWizardState(const QString& state);
    QString heading() const { return m_heading; }
    void setHeading(const QString& heading);
    QString svValue() const { return m_svValue; }
    // Writes the choice to the device unless the device already holds it.
    void setSvValue(const QString& value);
    QString titleString() const { return m_titleString; }

    // The first row standing for `key` (exact), or -1.
    Q_INVOKABLE int getIndexOf(const QString& key) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QVector<WizardListViewInfo>& rows() const { return m_rows; }

Q_SIGNALS:
    void wizardStateChanged(QString str);
    void headingChanged(QString heading);
    void svValueChanged(QString value);
    void titleStringChanged(QString titleString);
    void enumsChanged();

public Q_SLOTS:
    void updateSvValue(QString value);
    virtual void onSvEnumsChanged();
    void setTitleString(QString titleString);

protected:
    // Whether a state's lookup is written to the debug log ("Current wizard state enum: ").
    enum class Trace { Silent, Lookup };

    WizardChoiceListModel(const QString& descriptorFile, Trace trace, QObject* parent);

    // Rows for the enumeration: the descriptor row of each entry, or one made by `unlisted`.
    template<typename MakeRow> void rebuildFromEnumeration(MakeRow unlisted);
    // Replaces every row in one reset.
    void replaceRows(QVector<WizardListViewInfo> rows);
    // The first descriptor row standing for `value`, or null.
    const WizardListViewInfo* descriptorRow(const QString& value) const;

    WizardDescriptor m_descriptor;
    QX8EnumSV m_choice;
    QVector<WizardListViewInfo> m_descriptorRows;

private:
    void applyBlock(const QDomElement& block);
    void readRows(const QDomElement& rows);
    void appendRow(const WizardListViewInfo& row);

    Trace m_trace;
    QVector<WizardListViewInfo> m_rows;
    QString m_wizardState;
    QString m_heading;
    QString m_svValue;
    QString m_titleString;
};

template<typename MakeRow> void WizardChoiceListModel::rebuildFromEnumeration(MakeRow unlisted)
{
    QVector<WizardListViewInfo> rows;
    const QStringList entries = m_choice.enums();
    rows.reserve(entries.size());
    for (const QString& entry : entries) {
        const WizardListViewInfo* listed = descriptorRow(entry);
        WizardListViewInfo row = listed ? *listed : unlisted(entry);
        row.crossoverCode = 0;
        rows.append(row);
    }
    replaceRows(rows);
    Q_EMIT enumsChanged();
}
