#pragma once

#include <QDomElement>
#include <QString>
#include <QVector>

// One wizard descriptor file of the resources: `WizardState` blocks keyed by their `id`. The text
// is read once; every lookup parses it afresh, so a page always sees the file as it is.
class WizardDescriptor
{
public:
    // Reads ":/xml/" + fileName; a missing or unreadable file leaves the text empty (logged).
    explicit WizardDescriptor(const QString& fileName);
    // A descriptor holding `text` as if read from a file (empty when nested too deep).
    static WizardDescriptor fromText(const QString& text);

    // Reads the file again; a file that cannot be read, or nests elements deeper than any
    // descriptor, leaves the text as it was.
    void reload(const QString& fileName);

    // The first block whose id is exactly `state`, or a null element.
    QDomElement firstBlock(const QString& state) const;
    // Every such block, in document order.
    QVector<QDomElement> everyBlock(const QString& state) const;
    // Every block of the file, in document order.
    QVector<QDomElement> allBlocks() const;

    // ":/xml/" + fileName, where the descriptor files lie.
    static QString resourcePath(const QString& fileName);
    // The state a block describes.
    static QString idOf(const QDomElement& block);
    // The text of the first child element called `name` (empty when there is none).
    static QString childText(const QDomElement& parent, const QString& name);

private:
    WizardDescriptor() = default;

    QVector<QDomElement> blocks(const QString& state, bool firstOnly) const;

    QString m_text;
};
