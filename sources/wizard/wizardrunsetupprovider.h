#pragma once

#include "qx8textsv.h"
#include "wizardchoicelistmodel.h"

// The model of the run-setup page ("RunSetupWizardScreen.qml"), on "WizardRunSetupView.xml".
// Entries the descriptor does not dress are shown in upper case. In the sub-speaker states it
// lists only dressed entries and gives each the crossover code of the speaker stack it would
// make, from the device's PA output format and main speaker mode, which it then follows.
class WizardRunSetupProvider : public WizardChoiceListModel
{
    Q_OBJECT

public:
    explicit WizardRunSetupProvider(QObject* parent = nullptr);

    // Writes the value of row `index` to the choice variable; a row without a value (or no row)
    // writes nothing, and the log says why.
    Q_INVOKABLE void writeRowValue(int index);

public Q_SLOTS:
    void onSvEnumsChanged() override;

private:
    void onOutputFormat(const QString& value);
    void onSpeakerMode(const QString& value);
    template<typename Adjust> void buildCrossoverList(Adjust adjust);
    void buildSubChoiceList();
    void buildSubFormatList();

    QX8TextSV m_outputFormatChoice;
    QX8TextSV m_speakerModeChoice;
    QString m_outputFormat;
    QString m_speakerMode;
};
