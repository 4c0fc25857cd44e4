#pragma once

#include <QAccessibleObject>

class QQuickItem;

// What a screen reader learns of a Qt Quick text input: its name, role, state, caret and
// selection, and the text it shows, read whole or by character, word, sentence, line or
// paragraph at any offset. Qt's own interface never returns when asked for a word or sentence at
// the end of the text, where the caret stands after typing. A field whose echo mode hides its
// text shows a mask: the reader gets the mask, never the text.
class TextInputAccessible : public QAccessibleObject,
                            public QAccessibleActionInterface,
                            public QAccessibleTextInterface
{
public:
    // From now on, every text input answers through this class. Once per application; later
    // calls change nothing.
    static void installFactory();

    // Shows the mask while `input`'s echo mode hides its text, the text otherwise: made anew
    // when the mode changes.
    explicit TextInputAccessible(QQuickItem* input);

    bool showsMask() const { return m_showsMask; }

    QWindow* window() const override;
    QRect rect() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::EditableText; }
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString& text) override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // Offsets count the characters shown (of the mask, when it shows one).
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    // The piece of the boundary's kind at, before or after an offset, -1 being the end. The end
    // lies in the last piece, but past the last character. A mask is one piece but for its
    // characters. Nothing (offsets -1) where there is no such piece.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override { return shown().size(); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    QQuickItem* input() const;
    // The text, or what the field shows in place of it: a password character per character of
    // the text, or nothing.
    QString shown() const;
    QString mask() const;
    // The offsets where the pieces of the boundary's kind begin, and the end of the text.
    QVector<int> pieceBounds(const QString& text, QAccessible::TextBoundaryType boundaryType) const;
    // The piece `step` pieces on from the one at `offset` (-1 before it, 1 after it).
    QString piece(int offset, QAccessible::TextBoundaryType boundaryType, int step,
                  int* startOffset, int* endOffset) const;
    int clamped(const char* offsetProperty) const;

    const bool m_showsMask;
};
