#include "wizardbrandlistviewmodel.h"

#include "wizardchoicevariable.h"

#include <QLoggingCategory>

namespace {

const QString kCustom = QStringLiteral("Custom");
const QString kNotListed = QStringLiteral("Not listed??");

struct BrandStep
{
    const char* state;
    const char* variable;
    const char* heading;
};

const BrandStep kBrandSteps[] = {
    {"SelectMainSpeaker", "MainSpeaker", "Select main speaker"},
    {"SelectSubSpeaker", "SubSpeaker", "Select sub speaker"},
    {"SelectHighAmplifier", "HighAmplifier", "Select high amplifier"},
    {"SelectMidAmplifier", "MidAmplifier", "Select mid amplifier"},
    {"SelectLowAmplifier", "LowAmplifier", "Select low amplifier"},
    {"PoweredHighAmplifier", "HighAmplifier", "Powered speaker high amplifier"},
    {"PoweredMidAmplifier", "MidAmplifier", "Powered speaker mid amplifier"},
    {"PoweredLowAmplifier", "LowAmplifier", "Powered speaker low amplifier"},
};

const BrandStep* brandStep(const QString& state)
{
    for (const BrandStep& step : kBrandSteps) {
        if (state == QLatin1String(step.state))
            return &step;
    }
    return nullptr;
}

// What a console line cannot carry inside a value.
bool fitsALine(const QString& value)
{
    return !value.contains(QLatin1Char('"')) && !value.contains(QLatin1Char('\r')) &&
           !value.contains(QLatin1Char('\n'));
}

} // namespace

WizardBrandListViewModel::WizardBrandListViewModel(QObject* parent) : QAbstractListModel(parent)
{
    connect(&m_choice, &QX8EnumSV::valueChanged, this, &WizardBrandListViewModel::updateSvValue);
    connect(&m_choice, &QX8EnumSV::enumsChanged, this, &WizardBrandListViewModel::onSvEnumsChanged);
    followStepVariable(m_ampSelectChannel, QStringLiteral("Node\\Wizard\\SV\\AmpSelectChannel"));
    followStepVariable(m_currentMonitor, QStringLiteral("Node\\Wizard\\SV\\CurrentMonitor"));
}

WizardBrandListViewModel::~WizardBrandListViewModel()
{
    qDebug() << " WizardBrandListViewModel destroyed ";
}

// The step variables say which amplifier or monitor the step is about; for each of their reports
// the device may offer other products.
void WizardBrandListViewModel::followStepVariable(QX8TextSV& control, const QString& path)
{
    connect(&control, &QX8TextSV::valueChanged, this,
            &WizardBrandListViewModel::updateOtherSvValues);
    control.setPOName(QStringLiteral("NPO"));
    control.setSVName(path);
}

void WizardBrandListViewModel::setWizardState(const QString& state)
{
    m_wizardState = state;
    Q_EMIT wizardStateChanged(state);
    updateOtherSvValues(QString());
}

void WizardBrandListViewModel::setHeading(const QString& heading)
{
    m_heading = heading;
    Q_EMIT headingChanged(heading);
}

void WizardBrandListViewModel::updateOtherSvValues(QString value)
{
    Q_UNUSED(value)
    qDebug().noquote() << "Got Value: " + m_wizardState;
    const BrandStep* step = brandStep(m_wizardState);
    if (!step)
        return;
    setHeading(QLatin1String(step->heading));
    bindChoice(m_choice, WizardChoiceVariable::fromPath(
                             QStringLiteral("Node\\SetupWizardCurrentChoices\\SV\\") +
                             QLatin1String(step->variable)));
}

// One group per brand, in the order of its first product. Of two values for the same product
// the later counts.
void WizardBrandListViewModel::onSvEnumsChanged()
{
    beginResetModel();
    m_rows.clear();
    m_groups.clear();
    m_groupOfBrand.clear();
    m_values.clear();
    for (const QString& value : m_choice.enums()) {
        const WizardProduct product = WizardProduct::fromValue(value);
        auto group = m_groupOfBrand.constFind(product.brand);
        if (group == m_groupOfBrand.constEnd()) {
            group = m_groupOfBrand.insert(product.brand, m_groups.size());
            m_groups.append({product.brand, {}});
        }
        m_groups[*group].products.append(product);
        m_values.insert(product, value);
    }
    endResetModel();
    for (const Group& group : qAsConst(m_groups))
        addListViewElement({group.brand == kCustom ? kNotListed : group.brand});
    setSelection(m_currentValue);
}

void WizardBrandListViewModel::addListViewElement(const WizardBrandListViewInfo& row)
{
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size());
    m_rows.append(row);
    endInsertRows();
}

void WizardBrandListViewModel::updateSvValue(QString value)
{
    if (value.isEmpty())
        return;
    m_currentValue = value;
    setSelection(value);
}

// The Custom product stands for every product not listed: it has no row of its own.
void WizardBrandListViewModel::setSelection(const QString& value)
{
    const WizardProduct product = WizardProduct::fromValue(value);
    const int brandIndex = product.brand == kCustom ? -1 : m_groupOfBrand.value(product.brand, -1);
    int seriesModelIndex = -1;
    if (brandIndex >= 0) {
        const QVector<WizardProduct>& products = m_groups.at(brandIndex).products;
        for (int i = 0; i < products.size() && seriesModelIndex < 0; ++i) {
            if (products.at(i).sameSeriesAndModel(product))
                seriesModelIndex = i;
        }
    }
    qDebug().noquote() << "brandIndex=" + QString::number(brandIndex) +
                              " seriesModelIndex=" + QString::number(seriesModelIndex);
    Q_EMIT selectionChanged(brandIndex, seriesModelIndex);
}

void WizardBrandListViewModel::makeSelection(int brandIndex, int seriesModelIndex)
{
    if (brandIndex == -1) {
        writeProduct({kCustom, kCustom, kCustom});
        return;
    }
    if (brandIndex < 0 || brandIndex >= m_groups.size()) {
        qWarning() << "Brand choice: there is no brand row" << brandIndex << "; nothing written";
        return;
    }
    const Group& group = m_groups.at(brandIndex);
    if (seriesModelIndex == group.products.size()) {
        writeProduct({kCustom, kCustom, kCustom});
        return;
    }
    if (seriesModelIndex < 0 || seriesModelIndex > group.products.size()) {
        qWarning() << "Brand choice: there is no row" << seriesModelIndex << "under" << group.brand
                   << "; nothing written";
        return;
    }
    const WizardProduct& chosen = group.products.at(seriesModelIndex);
    writeProduct({group.brand, chosen.series, chosen.model});
}

void WizardBrandListViewModel::writeProduct(const WizardProduct& product)
{
    const auto value = m_values.constFind(product);
    if (value == m_values.constEnd()) {
        qWarning().noquote() << "Brand choice: the device offers no product \"" + product.brand +
                                    "\" \"" + product.series + "\" \"" + product.model +
                                    "\"; nothing written";
        return;
    }
    if (!fitsALine(*value)) {
        const QString reason =
            QStringLiteral("The device describes this product with a double quote or a line "
                           "break, which cannot be sent back to it.");
        qWarning().noquote() << "Brand choice refused:" << reason;
        Q_EMIT selectionRefused(reason);
        return;
    }
    m_choice.setValue(*value);
}

QStringList WizardBrandListViewModel::seriesModelsOf(const QString& brand) const
{
    QStringList rows;
    const int group = m_groupOfBrand.value(brand, -1);
    if (group < 0)
        return rows;
    for (const WizardProduct& product : m_groups.at(group).products)
        rows << product.seriesModelText();
    return rows;
}

int WizardBrandListViewModel::rowCount(const QModelIndex& parent) const
{
    Q_UNUSED(parent)
    return m_rows.size();
}

QVariant WizardBrandListViewModel::data(const QModelIndex& index, int role) const
{
    if (role != kTextRole || !index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    return m_rows.at(index.row()).text;
}

QHash<int, QByteArray> WizardBrandListViewModel::roleNames() const
{
    return {{kTextRole, "listViewElementText"}};
}
