#include "wizardlistviewprovider.h"

WizardListViewProvider::WizardListViewProvider(QObject* parent)
    : WizardChoiceListModel(QStringLiteral("WizardListView.xml"), Trace::Lookup, parent)
{
}

void WizardListViewProvider::setXmlFile(QString xmlFile)
{
    if (xmlFile == m_xmlFile)
        return;
    m_xmlFile = xmlFile;
    Q_EMIT xmlFileChanged(xmlFile);
}

void WizardListViewProvider::loadXML()
{
    m_descriptor.reload(m_xmlFile);
}
