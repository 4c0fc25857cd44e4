#pragma once

#include <QPoint>
#include <QString>
#include <initializer_list>

class QQuickItem;
class QQuickWindow;

// Text typed into a field and left there as a user leaves it: by Tab to the next field or by a
// click on the page's bare ground; or, to compare, confirmed with Enter, which keeps the focus.
namespace fieldleaving {

// What is typed, the name the device is then sent (empty: none) and the refusal the page shows
// (empty: none).
struct TypedText
{
    const char* name;
    const char* typed;
    const char* written;
    const char* refusal;
};

// The columns "leave" ("enter", "tab" or "click"), "typed", "written" and "refusal"; a row per
// case and way of leaving.
void addRows(std::initializer_list<TypedText> cases,
             std::initializer_list<const char*> ways = {"tab", "click"});

// The rows for a device's name box of 16 characters at most: emptied, a new name, one too long.
void addNameBoxRows(std::initializer_list<const char*> ways = {"tab", "click"});

// Clicks into the field and types `text` over what it shows; false when it took no focus.
bool typeOver(QQuickWindow* window, QQuickItem* field, const QString& text);

// Ends the edit as `how` says: Enter, Tab, or a click at `ground`.
void leave(QQuickWindow* window, const QString& how, QPoint ground);

} // namespace fieldleaving
