#include "wizardchoicelistmodel.h"

#include "wizardchoicevariable.h"

#include <QLoggingCategory>
#include <QTime>

namespace {
const QString kMenuState = QStringLiteral("Inactive");
const QString kTitleValue = QStringLiteral("TitleString");

void logRow(const WizardListViewInfo& row)
{
    qDebug().noquote() << QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz"))
                       << "list item" << row.text;
}
} // namespace

WizardChoiceListModel::WizardChoiceListModel(const QString& descriptorFile, Trace trace,
                                             QObject* parent)
    : QAbstractListModel(parent), m_descriptor(descriptorFile), m_trace(trace)
{
    connect(&m_choice, &QX8EnumSV::valueChanged, this, &WizardChoiceListModel::updateSvValue);
    connect(&m_choice, &QX8EnumSV::enumsChanged, this, &WizardChoiceListModel::onSvEnumsChanged);
}

// A state without a block keeps what the page shows.
void WizardChoiceListModel::setWizardState(const QString& state)
{
    m_wizardState = state;
    Q_EMIT wizardStateChanged(state);
    const QDomElement block = m_descriptor.firstBlock(state);
    if (m_trace == Trace::Lookup)
        qDebug().noquote() << "Current wizard state enum: " + state;
    if (block.isNull())
        return;
    const QString titleBefore = m_titleString;
    applyBlock(block);
    if (m_titleString != titleBefore)
        Q_EMIT titleStringChanged(m_titleString);
}

// Children in document order. The title is cleared at each one, so only a title row of the
// last `lvElements` survives (the descriptor files put `lvElements` last).
void WizardChoiceListModel::applyBlock(const QDomElement& block)
{
    for (QDomElement child = block.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        m_titleString.clear();
        const QString tag = child.tagName();
        if (tag == QLatin1String("SVPath"))
            bindChoice(m_choice, WizardChoiceVariable::fromPath(child.text()));
        else if (tag == QLatin1String("lvElements"))
            readRows(child);
        else if (tag == QLatin1String("heading"))
            setHeading(child.text());
    }
}

void WizardChoiceListModel::readRows(const QDomElement& rows)
{
    for (QDomElement element = rows.firstChildElement(QStringLiteral("lvElement"));
         !element.isNull(); element = element.nextSiblingElement(QStringLiteral("lvElement"))) {
        const WizardListViewInfo row{WizardDescriptor::childText(element, QStringLiteral("Text")),
                                     WizardDescriptor::childText(element, QStringLiteral("Image")),
                                     WizardDescriptor::childText(element, QStringLiteral("Value")),
                                     0};
        if (row.value == kTitleValue)
            m_titleString = row.text;
        if (m_wizardState == kMenuState)
            appendRow(row);
        else
            m_descriptorRows.append(row);
    }
}

void WizardChoiceListModel::setHeading(const QString& heading)
{
    m_heading = heading;
    Q_EMIT headingChanged(heading);
}

void WizardChoiceListModel::setSvValue(const QString& value)
{
    m_choice.setValue(value);
}

void WizardChoiceListModel::updateSvValue(QString value)
{
    m_svValue = value;
    Q_EMIT svValueChanged(value);
}

void WizardChoiceListModel::setTitleString(QString titleString)
{
    if (titleString == m_titleString)
        return;
    m_titleString = titleString;
    Q_EMIT titleStringChanged(titleString);
}

void WizardChoiceListModel::onSvEnumsChanged()
{
    rebuildFromEnumeration([](const QString& entry) {
        return WizardListViewInfo{entry, QString(), entry, 0};
    });
}

int WizardChoiceListModel::getIndexOf(const QString& key) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).value == key)
            return i;
    }
    return -1;
}

const WizardListViewInfo* WizardChoiceListModel::descriptorRow(const QString& value) const
{
    for (const WizardListViewInfo& row : m_descriptorRows) {
        if (row.value == value)
            return &row;
    }
    return nullptr;
}

void WizardChoiceListModel::replaceRows(QVector<WizardListViewInfo> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
    for (const WizardListViewInfo& row : qAsConst(m_rows))
        logRow(row);
}

void WizardChoiceListModel::appendRow(const WizardListViewInfo& row)
{
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size());
    m_rows.append(row);
    endInsertRows();
    logRow(row);
}

int WizardChoiceListModel::rowCount(const QModelIndex& parent) const
{
    Q_UNUSED(parent)
    return m_rows.size();
}

QVariant WizardChoiceListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_rows.size())
        return QVariant();
    const WizardListViewInfo& row = m_rows.at(index.row());
    switch (role) {
    case TextRole:
        return row.text;
    case ImageRole:
        return row.image;
    case ValueRole:
        return row.value;
    case CrossoverCodeRole:
        return row.crossoverCode;
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> WizardChoiceListModel::roleNames() const
{
    return {{TextRole, "listViewElementText"},
            {ImageRole, "listViewElementImage"},
            {ValueRole, "listViewElementValue"},
            {CrossoverCodeRole, "listViewElementCrossoverCode"}};
}
