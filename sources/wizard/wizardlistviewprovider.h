#pragma once

#include "wizardchoicelistmodel.h"

// The model of the wizard list page ("WizardListType.qml"), on "WizardListView.xml".
class WizardListViewProvider : public WizardChoiceListModel
{
    Q_OBJECT
    Q_PROPERTY(QString xmlFile READ xmlFile WRITE setXmlFile NOTIFY xmlFileChanged)

public:
    explicit WizardListViewProvider(QObject* parent = nullptr);

    QString xmlFile() const { return m_xmlFile; }

    // Reads the descriptor named by `xmlFile` again (writing `xmlFile` alone does not).
    Q_INVOKABLE void loadXML();

public Q_SLOTS:
    void setXmlFile(QString xmlFile);

Q_SIGNALS:
    void xmlFileChanged(QString xmlFile);

private:
    QString m_xmlFile;
};
