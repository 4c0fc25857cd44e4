#include "wizardpageprovider.h"

#include <QLoggingCategory>

WizardPageProvider::WizardPageProvider(const QString& descriptorFile, QObject* parent)
    : QObject(parent), m_descriptor(descriptorFile)
{
}

void WizardPageProvider::setWizardState(const QString& state)
{
    m_wizardState = state;
    Q_EMIT wizardStateChanged(state);
    qDebug().noquote() << "Current wizard state enum: " + state;
    for (const QDomElement& block : m_descriptor.everyBlock(state)) {
        qDebug().noquote() << "id found " + state;
        for (QDomElement child = block.firstChildElement(); !child.isNull();
             child = child.nextSiblingElement()) {
            const QString tag = child.tagName();
            const QString text = child.text();
            if (tag == QLatin1String("heading"))
                setHeading(text);
            else if (text.isEmpty())
                continue;
            else if (tag == QLatin1String("button"))
                setButtonText(text);
            else
                applyElement(tag, text);
        }
    }
}

void WizardPageProvider::setHeading(const QString& heading)
{
    m_heading = heading;
    Q_EMIT headingChanged(heading);
}

void WizardPageProvider::setButtonText(const QString& buttonText)
{
    m_buttonText = buttonText;
    Q_EMIT buttonTextChanged(buttonText);
}

void WizardPageProvider::applyElement(const QString& tag, const QString& text)
{
    Q_UNUSED(tag)
    Q_UNUSED(text)
}
