#pragma once

#include <QAccessibleObject>

class QQuickItem;

// What a screen reader learns of a Qt Quick text input whose echo mode hides its text (a password
// field): its name, role, state and caret, and the mask it shows, never the text. Qt's own
// interface gives the text itself as the value, and the name set in QML reads empty once the
// field is known as a password field.
class MaskedTextInputAccessible : public QAccessibleObject,
                                  public QAccessibleActionInterface,
                                  public QAccessibleTextInterface
{
public:
    // From now on, a text input answers through this class while its echo mode hides its text.
    // Once per application; later calls change nothing.
    static void installFactory();

    explicit MaskedTextInputAccessible(QQuickItem* input);

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

    // Offsets count the mask's characters, one per character of the text.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    // The mask is one run of one character, read a character at a time or whole; offset -1 is
    // its end.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override { return mask().size(); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    QQuickItem* input() const;
    // What the field shows in place of its text: a password character per character, or nothing.
    QString mask() const;
    // The mask from `start` to `end`, or nothing (offsets -1) where that lies outside it.
    QString maskSpan(int start, int end, int* startOffset, int* endOffset) const;
    int offsetOrEnd(int offset) const { return offset == -1 ? characterCount() : offset; }
    int clamped(const char* offsetProperty) const;
};
