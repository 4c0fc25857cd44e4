#include "wizardpageprovider.h"

#include <QLoggingCategory>

WizardPageProvider::WizardPageProvider(const QString& descriptorFile, Trace trace, QObject* parent)
    : QObject(parent), m_trace(trace), m_descriptor(descriptorFile)
{
}

void WizardPageProvider::setWizardState(const QString& state)
{
    m_wizardState = state;
    Q_EMIT wizardStateChanged(state);
    const QVector<QDomElement> blocks = m_descriptor.allBlocks();
    if (m_trace == Trace::Lookup) {
        qDebug().noquote() << "Count " + QString::number(blocks.size());
        qDebug().noquote() << "Current wizard state enum: " + state;
    }
    for (const QDomElement& block : blocks) {
        const QString id = WizardDescriptor::idOf(block);
        if (m_trace != Trace::Silent)
            qDebug().noquote() << "Wizard State: " + block.nodeName() + " : " + id;
        if (id != state)
            continue;
        if (m_trace == Trace::Lookup)
            qDebug().noquote() << "id found " + id;
        applyBlock(block);
    }
}

void WizardPageProvider::applyBlock(const QDomElement& block)
{
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
