#include "wizarddescriptor.h"

#include <QDomDocument>
#include <QFile>
#include <QLoggingCategory>

namespace {
const QString kBlockTag = QStringLiteral("WizardState");
const QString kIdAttribute = QStringLiteral("id");
} // namespace

WizardDescriptor::WizardDescriptor(const QString& fileName)
{
    reload(fileName);
}

void WizardDescriptor::reload(const QString& fileName)
{
    QFile file(QStringLiteral(":/xml/") + fileName);
    if (!file.exists()) {
        qWarning() << "XML file DOES NOT exist" << file.fileName();
        return;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qWarning() << "File open failed" << file.fileName();
        qWarning().noquote() << "File open error: " + file.errorString();
        return;
    }
    m_text = QString::fromUtf8(file.readAll());
}

QDomElement WizardDescriptor::firstBlock(const QString& state) const
{
    const QVector<QDomElement> found = blocks(state, true);
    return found.isEmpty() ? QDomElement() : found.first();
}

QVector<QDomElement> WizardDescriptor::everyBlock(const QString& state) const
{
    return blocks(state, false);
}

// A text that is not well-formed parses to an empty document: no blocks.
QVector<QDomElement> WizardDescriptor::blocks(const QString& state, bool firstOnly) const
{
    QDomDocument document;
    document.setContent(m_text);
    QVector<QDomElement> found;
    const QDomNodeList nodes = document.elementsByTagName(kBlockTag);
    for (int i = 0; i < nodes.size(); ++i) {
        const QDomElement block = nodes.at(i).toElement();
        if (block.attribute(kIdAttribute) != state)
            continue;
        found.append(block);
        if (firstOnly)
            break;
    }
    return found;
}

QString WizardDescriptor::childText(const QDomElement& parent, const QString& name)
{
    return parent.firstChildElement(name).text();
}
