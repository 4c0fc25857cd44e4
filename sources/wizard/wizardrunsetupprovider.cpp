#include "wizardrunsetupprovider.h"

#include "wizardcrossovercodes.h"

#include <QLoggingCategory>

namespace {
const QString kSubChoiceState = QStringLiteral("PromptUsingSubs");
const QString kSubFormatState = QStringLiteral("SelectSubOutputFormat");
const QString kAuxFedState = QStringLiteral("PromptSubsAuxFed");
const QString kOutputFormatPath =
    QStringLiteral("Node\\SetupWizardCurrentChoices\\SV\\WizardPaOutputFormat");
const QString kSpeakerModePath =
    QStringLiteral("Node\\SetupWizardCurrentChoices\\SV\\MainSpeakerMode");

// The first binding subscribes; a later one asks again, and the answer comes back even when it
// repeats the value the control holds.
void follow(QX8TextSV& control, const QString& path)
{
    if (control.svName() == path) {
        control.requestValue();
        return;
    }
    control.setPOName(QStringLiteral("NPO"));
    control.setSVName(path);
}
} // namespace

WizardRunSetupProvider::WizardRunSetupProvider(QObject* parent)
    : WizardChoiceListModel(QStringLiteral("WizardRunSetupView.xml"), Trace::Silent, parent)
{
    connect(&m_outputFormatChoice, &QX8TextSV::valueChanged, this,
            &WizardRunSetupProvider::updateMySvValue0);
    connect(&m_speakerModeChoice, &QX8TextSV::valueChanged, this,
            &WizardRunSetupProvider::updateMySvValue1);
}

void WizardRunSetupProvider::onSvEnumsChanged()
{
    const QString state = wizardState();
    if (state == kSubChoiceState) {
        m_outputFormat.clear();
        follow(m_outputFormatChoice, kOutputFormatPath);
        m_speakerMode.clear();
        follow(m_speakerModeChoice, kSpeakerModePath);
        return;
    }
    if (state == kSubFormatState || state == kAuxFedState) {
        m_outputFormat.clear();
        follow(m_outputFormatChoice, kOutputFormatPath);
        return;
    }
    rebuildFromEnumeration([](const QString& entry) {
        return WizardSetupViewInfo{entry.toUpper(), QString(), entry, 0};
    });
}

void WizardRunSetupProvider::updateMySvValue0(QString value)
{
    m_outputFormat = value;
    const QString state = wizardState();
    if (!value.isEmpty() && (state == kSubFormatState || state == kAuxFedState))
        buildSubFormatList();
}

void WizardRunSetupProvider::updateMySvValue1(QString value)
{
    m_speakerMode = value;
    if (!m_outputFormat.isEmpty() && !m_speakerMode.isEmpty())
        buildSubChoiceList();
}

// Only entries the descriptor dresses; then the page selects the device's value again.
template<typename Adjust> void WizardRunSetupProvider::buildCrossoverList(Adjust adjust)
{
    QVector<WizardSetupViewInfo> rows;
    for (const QString& entry : m_choice.enums()) {
        if (const WizardSetupViewInfo* listed = descriptorRow(entry)) {
            WizardSetupViewInfo row = *listed;
            row.crossoverCode = 0;
            rows.append(adjust(row));
        }
    }
    replaceRows(rows);
    Q_EMIT svValueChanged(m_choice.value());
}

void WizardRunSetupProvider::buildSubChoiceList()
{
    const bool choosingSubs = wizardState() == kSubChoiceState;
    buildCrossoverList([&](const WizardSetupViewInfo& row) {
        return choosingSubs ? wizardcrossover::subChoiceRow(row, m_outputFormat, m_speakerMode)
                            : row;
    });
}

void WizardRunSetupProvider::buildSubFormatList()
{
    const bool choosingFormat = wizardState() == kSubFormatState;
    buildCrossoverList([&](const WizardSetupViewInfo& row) {
        return choosingFormat ? wizardcrossover::subFormatRow(row, m_outputFormat)
                              : wizardcrossover::auxFedRow(row, m_outputFormat);
    });
}

void WizardRunSetupProvider::writeRowValue(int index)
{
    if (index < 0 || index >= rows().size()) {
        qInfo() << "Run setup: no row" << index << "is selected; nothing written";
        return;
    }
    const WizardSetupViewInfo& row = rows().at(index);
    if (row.value.isEmpty()) {
        qInfo().noquote() << "Run setup: the row \"" + row.text +
                                 "\" stands for no value; nothing written";
        return;
    }
    setSvValue(row.value);
}
