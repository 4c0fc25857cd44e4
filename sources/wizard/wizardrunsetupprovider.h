#pragma once

#include "qx8textsv.h"
#include "wizardchoicelistmodel.h"

// The model of the run-setup page ("RunSetupWizardScreen.qml"), on "WizardRunSetupView.xml".
// Entries the descriptor does not dress are shown in upper case. In the sub-speaker states it
// lists only dressed entries and gives each the crossover code of the speaker stack it would
// make, from the device's PA output format and main speaker mode: each new enumeration there
// forgets both and asks the device for them again, and the list is built once they are in.
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
    // The device's PA output format, then its main speaker mode.
    void updateMySvValue0(QString value);
    void updateMySvValue1(QString value);

private:
    template<typename Adjust> void buildCrossoverList(Adjust adjust);
    void buildSubChoiceList();
    void buildSubFormatList();

    QX8TextSV m_outputFormatChoice;
    QX8TextSV m_speakerModeChoice;
    QString m_outputFormat;
    QString m_speakerMode;
};
