#include "textinputaccessible.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// TextInput.EchoMode, declared in a private Qt header.
constexpr int kNormalEcho = 0;
constexpr int kNoEcho = 1;

bool hidesText(const QObject* input)
{
    return input->property("echoMode").toInt() != kNormalEcho;
}

// The Accessible attached object QML gave the item, if any.
const QObject* accessibleAttached(const QObject* item)
{
    for (const QObject* child : item->children()) {
        if (child->inherits("QQuickAccessibleAttached"))
            return child;
    }
    return nullptr;
}

// Qt makes a text input's interface as soon as the input has its Accessible attached object,
// often before QML has bound its echo mode, and a field may hide or show its text later: once
// the mode changes, an interface that shows otherwise than the mode asks leaves Qt's cache, and
// the next query makes the right one.
class EchoModeWatch : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    void watch(QObject* input)
    {
        static const QMetaMethod drop =
            staticMetaObject.method(staticMetaObject.indexOfSlot("dropStaleInterface()"));
        const QMetaObject* type = input->metaObject();
        const QMetaMethod changed =
            type->property(type->indexOfProperty("echoMode")).notifySignal();
        connect(input, changed, this, drop, Qt::UniqueConnection);
    }

private Q_SLOTS:
    void dropStaleInterface()
    {
        QObject* input = sender();
        QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(input);
        const auto* ours = dynamic_cast<TextInputAccessible*>(cached);
        const bool showsMask = ours && ours->showsMask();
        if (cached && showsMask != hidesText(input))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
    }
};

QPointer<EchoModeWatch> echoModeWatch;

QAccessibleInterface* textInputFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("QQuickTextInput"))
        return nullptr;
    if (echoModeWatch)
        echoModeWatch->watch(object);
    return new TextInputAccessible(static_cast<QQuickItem*>(object));
}

} // namespace

void TextInputAccessible::installFactory()
{
    if (!echoModeWatch)
        echoModeWatch = new EchoModeWatch(QCoreApplication::instance());
    QAccessible::installFactory(&textInputFactory);
}

TextInputAccessible::TextInputAccessible(QQuickItem* input)
    : QAccessibleObject(input), m_showsMask(hidesText(input))
{
}

QQuickItem* TextInputAccessible::input() const
{
    return static_cast<QQuickItem*>(object());
}

QWindow* TextInputAccessible::window() const
{
    return input()->window();
}

QRect TextInputAccessible::rect() const
{
    if (state().invisible)
        return {};
    const QQuickItem* item = input();
    return QRect(item->mapToGlobal(QPointF()).toPoint(),
                 QSize(int(item->width()), int(item->height())));
}

// The nearest item above that has an interface; the window above its content item.
QAccessibleInterface* TextInputAccessible::parent() const
{
    QQuickWindow* shownIn = input()->window();
    for (QQuickItem* above = input()->parentItem(); above; above = above->parentItem()) {
        if (shownIn && above == shownIn->contentItem())
            return QAccessible::queryAccessibleInterface(shownIn);
        if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(above))
            return iface;
    }
    return nullptr;
}

QAccessible::State TextInputAccessible::state() const
{
    const QQuickItem* item = input();
    const QQuickWindow* shownIn = item->window();
    QAccessible::State state;
    state.invisible =
        !shownIn || !shownIn->isVisible() || !item->isVisible() || qFuzzyIsNull(item->opacity());
    state.disabled = !item->isEnabled();
    state.focusable = true;
    state.focused = item->hasActiveFocus();
    state.readOnly = item->property("readOnly").toBool();
    state.editable = !state.readOnly;
    state.passwordEdit = m_showsMask;
    return state;
}

QString TextInputAccessible::text(QAccessible::Text type) const
{
    const QObject* attached = accessibleAttached(object());
    switch (type) {
    case QAccessible::Name: {
        // Qt reads the name given in QML as empty once the field counts as a password field:
        // then the dialog or form around it says what the field asks.
        const QString given = attached ? attached->property("name").toString() : QString();
        if (!given.isEmpty() || !m_showsMask)
            return given;
        const QAccessibleInterface* around = parent();
        return around ? around->text(QAccessible::Name) : QString();
    }
    case QAccessible::Description:
        return attached ? attached->property("description").toString() : QString();
    case QAccessible::Value:
        return shown();
    default:
        return {};
    }
}

// A reader may type for its user, as with Qt's own interface.
void TextInputAccessible::setText(QAccessible::Text type, const QString& text)
{
    if (type == QAccessible::Value)
        object()->setProperty("text", text);
}

void* TextInputAccessible::interface_cast(QAccessible::InterfaceType type)
{
    switch (type) {
    case QAccessible::ActionInterface:
        return static_cast<QAccessibleActionInterface*>(this);
    case QAccessible::TextInterface:
        return static_cast<QAccessibleTextInterface*>(this);
    default:
        return QAccessibleObject::interface_cast(type);
    }
}

QStringList TextInputAccessible::actionNames() const
{
    return {setFocusAction()};
}

void TextInputAccessible::doAction(const QString& actionName)
{
    if (actionName == setFocusAction())
        input()->forceActiveFocus();
}

void TextInputAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    const bool selected = selectionIndex == 0 && selectionCount() == 1;
    *startOffset = selected ? clamped("selectionStart") : 0;
    *endOffset = selected ? clamped("selectionEnd") : 0;
}

int TextInputAccessible::selectionCount() const
{
    return clamped("selectionStart") != clamped("selectionEnd") ? 1 : 0;
}

// A reader selects nothing in a text input, as with Qt's own interface.
void TextInputAccessible::addSelection(int, int) {}
void TextInputAccessible::removeSelection(int) {}
void TextInputAccessible::setSelection(int, int, int) {}

int TextInputAccessible::cursorPosition() const
{
    return clamped("cursorPosition");
}

void TextInputAccessible::setCursorPosition(int position)
{
    object()->setProperty("cursorPosition", position);
}

QString TextInputAccessible::text(int startOffset, int endOffset) const
{
    return shown().mid(startOffset, endOffset - startOffset);
}

QString TextInputAccessible::textBeforeOffset(int offset,
                                              QAccessible::TextBoundaryType boundaryType,
                                              int* startOffset, int* endOffset) const
{
    return piece(offset, boundaryType, -1, startOffset, endOffset);
}

QString TextInputAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const
{
    return piece(offset, boundaryType, 1, startOffset, endOffset);
}

QString TextInputAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int* startOffset, int* endOffset) const
{
    return piece(offset, boundaryType, 0, startOffset, endOffset);
}

QString TextInputAccessible::piece(int offset, QAccessible::TextBoundaryType boundaryType, int step,
                                   int* startOffset, int* endOffset) const
{
    *startOffset = -1;
    *endOffset = -1;
    const QString text = shown();
    const int at = offset == -1 ? text.size() : offset;
    if (at < 0 || at > text.size())
        return {};
    const QVector<int> bounds = pieceBounds(text, boundaryType);
    const int pieces = bounds.size() - 1;
    int index = int(std::upper_bound(bounds.cbegin(), bounds.cend(), at) - bounds.cbegin()) - 1;
    // A reader asks for the word at the caret, which stands at the end after typing: the end
    // lies in the last piece, though past the last character.
    if (at == text.size() && boundaryType != QAccessible::CharBoundary)
        index = pieces - 1;
    index += step;
    if (index < 0 || index >= pieces)
        return {};
    *startOffset = bounds.at(index);
    *endOffset = bounds.at(index + 1);
    return text.mid(*startOffset, *endOffset - *startOffset);
}

QVector<int> TextInputAccessible::pieceBounds(const QString& text,
                                              QAccessible::TextBoundaryType boundaryType) const
{
    QVector<int> bounds{0};
    if (text.isEmpty())
        return bounds;
    QTextBoundaryFinder::BoundaryType kind = QTextBoundaryFinder::Grapheme;
    // A mask tells nothing of the words it hides.
    bool split = !m_showsMask;
    switch (boundaryType) {
    case QAccessible::CharBoundary:
        split = true;
        break;
    case QAccessible::WordBoundary:
        kind = QTextBoundaryFinder::Word;
        break;
    case QAccessible::SentenceBoundary:
        kind = QTextBoundaryFinder::Sentence;
        break;
    default:
        // A text input holds one line.
        split = false;
        break;
    }
    if (split) {
        // As with Qt's own reading, the words and the runs between them are the pieces.
        QTextBoundaryFinder finder(kind, text);
        for (int at = finder.toNextBoundary(); at > 0 && at < text.size();
             at = finder.toNextBoundary()) {
            if (finder.boundaryReasons() &
                (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem))
                bounds << at;
        }
    }
    bounds << text.size();
    return bounds;
}

QString TextInputAccessible::attributes(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
    return {};
}

QString TextInputAccessible::shown() const
{
    return m_showsMask ? mask() : object()->property("text").toString();
}

QString TextInputAccessible::mask() const
{
    const QObject* item = object();
    if (item->property("echoMode").toInt() == kNoEcho)
        return {};
    return item->property("passwordCharacter")
        .toString()
        .left(1)
        .repeated(item->property("length").toInt());
}

// An offset of the text, within what the field shows (a mask may be empty).
int TextInputAccessible::clamped(const char* offsetProperty) const
{
    return qBound(0, object()->property(offsetProperty).toInt(), characterCount());
}

#include "textinputaccessible.moc"
