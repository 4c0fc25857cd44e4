#include "wizarddescriptor.h"

#include <QDomDocument>
#include <QFile>
#include <QLoggingCategory>
#include <QXmlStreamReader>

namespace {
const QString kBlockTag = QStringLiteral("WizardState");
const QString kIdAttribute = QStringLiteral("id");
// QDomDocument recurses once per level: tens of thousands of levels exhaust the stack. The
// descriptor files nest five deep.
constexpr int kMaxDepth = 256;

// The stream reader does not recurse, so it measures any depth safely. A refusal is logged.
bool nestsWithinLimit(const QString& text)
{
    QXmlStreamReader reader(text);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement)
            --depth;
        else if (token == QXmlStreamReader::StartElement && ++depth > kMaxDepth) {
            qWarning() << "Wizard descriptor refused: elements nested deeper than" << kMaxDepth;
            return false;
        }
    }
    return true;
}
} // namespace

WizardDescriptor::WizardDescriptor(const QString& fileName)
{
    reload(fileName);
}

WizardDescriptor WizardDescriptor::fromText(const QString& text)
{
    WizardDescriptor descriptor;
    if (nestsWithinLimit(text))
        descriptor.m_text = text;
    return descriptor;
}

void WizardDescriptor::reload(const QString& fileName)
{
    QFile file(resourcePath(fileName));
    if (!file.exists()) {
        qWarning() << "XML file DOES NOT exist" << file.fileName();
        return;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qWarning() << "File open failed" << file.fileName();
        qWarning().noquote() << "File open error: " + file.errorString();
        return;
    }
    const QString text = QString::fromUtf8(file.readAll());
    if (nestsWithinLimit(text))
        m_text = text;
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
QVector<QDomElement> WizardDescriptor::allBlocks() const
{
    QDomDocument document;
    document.setContent(m_text);
    QVector<QDomElement> found;
    const QDomNodeList nodes = document.elementsByTagName(kBlockTag);
    found.reserve(nodes.size());
    for (int i = 0; i < nodes.size(); ++i)
        found.append(nodes.at(i).toElement());
    return found;
}

QVector<QDomElement> WizardDescriptor::blocks(const QString& state, bool firstOnly) const
{
    QVector<QDomElement> found;
    for (const QDomElement& block : allBlocks()) {
        if (idOf(block) != state)
            continue;
        found.append(block);
        if (firstOnly)
            break;
    }
    return found;
}

QString WizardDescriptor::resourcePath(const QString& fileName)
{
    return QStringLiteral(":/xml/") + fileName;
}

QString WizardDescriptor::idOf(const QDomElement& block)
{
    return block.attribute(kIdAttribute);
}

QString WizardDescriptor::childText(const QDomElement& parent, const QString& name)
{
    return parent.firstChildElement(name).text();
}
