// A wizard descriptor file, whatever it holds: a lookup finds only blocks with the id asked for,
// the first of them first, and walking them as the pages do stays within the document.
#include "fuzzsupport.h"
#include "wizarddescriptor.h"

#include <QStringList>

namespace {

// The ids the input names (up to two) and the menu's own, so the lookups find something.
QStringList statesNamedIn(const QString& text)
{
    QStringList states{QStringLiteral("Inactive")};
    for (int at = text.indexOf(QLatin1String("id=")); at >= 0 && states.size() < 3;
         at = text.indexOf(QLatin1String("id="), at + 3)) {
        const int open = at + 3;
        if (open >= text.size() || (text[open] != '"' && text[open] != '\''))
            continue;
        const int close = text.indexOf(text[open], open + 1);
        if (close > open)
            states << text.mid(open + 1, close - open - 1);
    }
    return states;
}

// Every child and the rows under `lvElements`, read as the list and page providers read them.
void walk(const QDomElement& block)
{
    for (QDomElement child = block.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        (void)child.text();
        for (QDomElement row = child.firstChildElement(QStringLiteral("lvElement")); !row.isNull();
             row = row.nextSiblingElement(QStringLiteral("lvElement"))) {
            for (const char* name : {"Text", "Image", "Value"})
                (void)WizardDescriptor::childText(row, QLatin1String(name));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const WizardDescriptor descriptor = WizardDescriptor::fromText(text);
    for (const QString& state : statesNamedIn(text)) {
        const QVector<QDomElement> blocks = descriptor.everyBlock(state);
        const QDomElement first = descriptor.firstBlock(state);
        FUZZ_CHECK(first.isNull() == blocks.isEmpty());
        if (!blocks.isEmpty())
            FUZZ_CHECK(first.lineNumber() == blocks.first().lineNumber() &&
                       first.columnNumber() == blocks.first().columnNumber());
        for (const QDomElement& block : blocks) {
            FUZZ_CHECK(block.tagName() == QLatin1String("WizardState"));
            FUZZ_CHECK(block.attribute(QStringLiteral("id")) == state);
            walk(block);
        }
    }
    return 0;
}
