#pragma once

#include "wizarddescriptor.h"

#include <QObject>

// The texts of one wizard page for the state it is given, from the state's blocks of a
// descriptor file: every block with the state's id is applied in file order, so a later block's
// values win. A heading is taken even when empty; every other element only with a text. Every
// write is announced, an unchanged value included.
class WizardPageProvider : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString wizardState READ wizardState WRITE setWizardState NOTIFY wizardStateChanged)
    Q_PROPERTY(QString heading READ heading WRITE setHeading NOTIFY headingChanged)
    Q_PROPERTY(QString buttonText READ buttonText WRITE setButtonText NOTIFY buttonTextChanged)

public:
    QString wizardState() const { return m_wizardState; }
    void setWizardState(const QString& state);
    QString heading() const { return m_heading; }
    void setHeading(const QString& heading);
    QString buttonText() const { return m_buttonText; }
    void setButtonText(const QString& buttonText);

Q_SIGNALS:
    void headingChanged(QString heading);
    void wizardStateChanged(QString str);
    void buttonTextChanged(QString btnText);

protected:
    // What a provider writes to the debug log while it applies a state: nothing; one "Wizard
    // State: " line per block of the file; or those lines after the block count and the state,
    // with an "id found " line for each block that matches.
    enum class Trace { Silent, EveryBlock, Lookup };

    WizardPageProvider(const QString& descriptorFile, Trace trace, QObject* parent);

    // A child element of a matching block, other than `heading` and `button`, with a text.
    virtual void applyElement(const QString& tag, const QString& text);

private:
    void applyBlock(const QDomElement& block);

    Trace m_trace;
    WizardDescriptor m_descriptor;
    QString m_wizardState;
    QString m_heading;
    QString m_buttonText;
};
