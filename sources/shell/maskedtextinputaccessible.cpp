#include "maskedtextinputaccessible.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>

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
// often before QML has bound its echo mode: once the mode changes, an interface made for the
// other mode leaves Qt's cache, and the next query makes the right one.
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
        const bool masked = dynamic_cast<MaskedTextInputAccessible*>(cached) != nullptr;
        if (cached && masked != hidesText(input))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
    }
};

QPointer<EchoModeWatch> echoModeWatch;

QAccessibleInterface* maskedTextInputFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("QQuickTextInput"))
        return nullptr;
    if (echoModeWatch)
        echoModeWatch->watch(object);
    return hidesText(object) ? new MaskedTextInputAccessible(static_cast<QQuickItem*>(object))
                             : nullptr;
}

} // namespace

void MaskedTextInputAccessible::installFactory()
{
    if (!echoModeWatch)
        echoModeWatch = new EchoModeWatch(QCoreApplication::instance());
    QAccessible::installFactory(&maskedTextInputFactory);
}

MaskedTextInputAccessible::MaskedTextInputAccessible(QQuickItem* input) : QAccessibleObject(input)
{
}

QQuickItem* MaskedTextInputAccessible::input() const
{
    return static_cast<QQuickItem*>(object());
}

QWindow* MaskedTextInputAccessible::window() const
{
    return input()->window();
}

QRect MaskedTextInputAccessible::rect() const
{
    if (state().invisible)
        return {};
    const QQuickItem* item = input();
    return QRect(item->mapToGlobal(QPointF()).toPoint(),
                 QSize(int(item->width()), int(item->height())));
}

// The nearest item above that has an interface; the window above its content item.
QAccessibleInterface* MaskedTextInputAccessible::parent() const
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

QAccessible::State MaskedTextInputAccessible::state() const
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
    state.passwordEdit = true;
    return state;
}

QString MaskedTextInputAccessible::text(QAccessible::Text type) const
{
    const QObject* attached = accessibleAttached(object());
    switch (type) {
    case QAccessible::Name: {
        // Qt reads the name given in QML as empty once the field counts as a password field:
        // then the dialog or form around it says what the field asks.
        const QString given = attached ? attached->property("name").toString() : QString();
        if (!given.isEmpty())
            return given;
        const QAccessibleInterface* around = parent();
        return around ? around->text(QAccessible::Name) : QString();
    }
    case QAccessible::Description:
        return attached ? attached->property("description").toString() : QString();
    case QAccessible::Value:
        return mask();
    default:
        return {};
    }
}

// A reader may type for its user.
void MaskedTextInputAccessible::setText(QAccessible::Text type, const QString& text)
{
    if (type == QAccessible::Value)
        object()->setProperty("text", text);
}

void* MaskedTextInputAccessible::interface_cast(QAccessible::InterfaceType type)
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

QStringList MaskedTextInputAccessible::actionNames() const
{
    return {setFocusAction()};
}

void MaskedTextInputAccessible::doAction(const QString& actionName)
{
    if (actionName == setFocusAction())
        input()->forceActiveFocus();
}

void MaskedTextInputAccessible::selection(int selectionIndex, int* startOffset,
                                          int* endOffset) const
{
    const bool selected = selectionIndex == 0 && selectionCount() == 1;
    *startOffset = selected ? clamped("selectionStart") : 0;
    *endOffset = selected ? clamped("selectionEnd") : 0;
}

int MaskedTextInputAccessible::selectionCount() const
{
    return clamped("selectionStart") != clamped("selectionEnd") ? 1 : 0;
}

// A reader selects nothing in a text input, as with Qt's own interface.
void MaskedTextInputAccessible::addSelection(int, int) {}
void MaskedTextInputAccessible::removeSelection(int) {}
void MaskedTextInputAccessible::setSelection(int, int, int) {}

int MaskedTextInputAccessible::cursorPosition() const
{
    return clamped("cursorPosition");
}

void MaskedTextInputAccessible::setCursorPosition(int position)
{
    object()->setProperty("cursorPosition", position);
}

QString MaskedTextInputAccessible::text(int startOffset, int endOffset) const
{
    return mask().mid(startOffset, endOffset - startOffset);
}

QString MaskedTextInputAccessible::textBeforeOffset(int offset,
                                                    QAccessible::TextBoundaryType boundaryType,
                                                    int* startOffset, int* endOffset) const
{
    const int at = offsetOrEnd(offset);
    return boundaryType == QAccessible::CharBoundary ? maskSpan(at - 1, at, startOffset, endOffset)
                                                     : maskSpan(-1, -1, startOffset, endOffset);
}

QString MaskedTextInputAccessible::textAfterOffset(int offset,
                                                   QAccessible::TextBoundaryType boundaryType,
                                                   int* startOffset, int* endOffset) const
{
    const int at = offsetOrEnd(offset);
    return boundaryType == QAccessible::CharBoundary
               ? maskSpan(at + 1, at + 2, startOffset, endOffset)
               : maskSpan(-1, -1, startOffset, endOffset);
}

// Qt's default never returns for a word or line asked at the end of the text, where the caret
// stands after typing.
QString MaskedTextInputAccessible::textAtOffset(int offset,
                                                QAccessible::TextBoundaryType boundaryType,
                                                int* startOffset, int* endOffset) const
{
    const int at = offsetOrEnd(offset);
    if (boundaryType == QAccessible::CharBoundary)
        return maskSpan(at, at + 1, startOffset, endOffset);
    return at >= 0 && at <= characterCount() ? maskSpan(0, characterCount(), startOffset, endOffset)
                                             : maskSpan(-1, -1, startOffset, endOffset);
}

QString MaskedTextInputAccessible::maskSpan(int start, int end, int* startOffset,
                                            int* endOffset) const
{
    const bool within = start >= 0 && start < end && end <= characterCount();
    *startOffset = within ? start : -1;
    *endOffset = within ? end : -1;
    return within ? text(start, end) : QString();
}

QString MaskedTextInputAccessible::attributes(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
    return {};
}

QString MaskedTextInputAccessible::mask() const
{
    const QObject* item = object();
    if (item->property("echoMode").toInt() == kNoEcho)
        return {};
    return item->property("passwordCharacter")
        .toString()
        .left(1)
        .repeated(item->property("length").toInt());
}

// An offset of the text, within the mask (which is empty when the field shows nothing).
int MaskedTextInputAccessible::clamped(const char* offsetProperty) const
{
    return qBound(0, object()->property(offsetProperty).toInt(), characterCount());
}

#include "maskedtextinputaccessible.moc"
