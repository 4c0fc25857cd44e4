#pragma once

#include <QPoint>
#include <QString>
#include <initializer_list>

class QQuickItem;
class QQuickWindow;

// Text typed into a field and left there as a user leaves it: by Tab to the next field, by a
// click on the page's bare ground or on a button that takes the user on (Apply, Next, the menu
// bar); or, to compare, confirmed with Enter, which keeps the focus.
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

// The columns "leave" ("enter", "tab", or anything else for a click), "typed", "written" and
// "refusal"; a row per case and way of leaving.
void addRows(std::initializer_list<TypedText> cases,
             std::initializer_list<const char*> ways = {"tab", "click"});
// More rows for the columns addRows made.
void appendRows(std::initializer_list<TypedText> cases, std::initializer_list<const char*> ways);

// A device's name box of 16 characters at most: emptied, given a new name, given one too long.
extern const TypedText kEmptiedName;
extern const TypedText kNewName;
extern const TypedText kTooLongName;

// The rows of the three name box cases.
void addNameBoxRows(std::initializer_list<const char*> ways = {"tab", "click"});

// Clicks into the field and types `text` over what it shows; false when it took no focus.
bool typeOver(QQuickWindow* window, QQuickItem* field, const QString& text);

// Ends the edit as `how` says: Enter, Tab, or a click at `at` (the ground, a button).
void leave(QQuickWindow* window, const QString& how, QPoint at);

} // namespace fieldleaving
