#pragma once

#include <QObject>

// Turns each wizard state the device reports into the page that shows it, and records the state
// under "Wizard/CurrentState" for the pages that read it when they are created. Writing
// `wizardStateQml` takes a state name; reading it gives that state's page file. Every write is
// announced, also one that repeats the last state, so the screen reloads its page.
class WizardScreensLoader : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString wizardStateQml READ wizardStateQml WRITE setWizardStateQml NOTIFY
                   wizardStateQmlChanged)

public:
    explicit WizardScreensLoader(QObject* parent = nullptr);

    QString wizardStateQml() const { return m_pageFile; }
    void setWizardStateQml(const QString& state);

    // The running wizard's name for the screen's heading; empty when the state names none.
    Q_INVOKABLE QString wizardName(const QString& state) const;

Q_SIGNALS:
    void wizardStateQmlChanged(QString str);

private:
    QString m_pageFile;
};
