#include "fieldleaving.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

namespace fieldleaving {

const TypedText kEmptiedName = {"emptied", "", "", "A name cannot be empty."};
const TypedText kNewName = {"a new name", "Kick", "Kick", ""};
const TypedText kTooLongName = {"too long", "Overheads Left Right", "",
                                "A name has at most 16 characters."};

void addRows(std::initializer_list<TypedText> cases, std::initializer_list<const char*> ways)
{
    for (const char* column : {"leave", "typed", "written", "refusal"})
        QTest::addColumn<QString>(column);
    appendRows(cases, ways);
}

void appendRows(std::initializer_list<TypedText> cases, std::initializer_list<const char*> ways)
{
    for (const TypedText& typed : cases) {
        for (const char* how : ways) {
            QTest::addRow("%s, %s", typed.name, how)
                << QString(how) << QString(typed.typed) << QString(typed.written)
                << QString(typed.refusal);
        }
    }
}

void addNameBoxRows(std::initializer_list<const char*> ways)
{
    addRows({kEmptiedName, kNewName, kTooLongName}, ways);
}

bool typeOver(QQuickWindow* window, QQuickItem* field, const QString& text)
{
    const QPointF centre(field->width() / 2, field->height() / 2);
    QTest::mouseClick(window, Qt::LeftButton, {}, field->mapToScene(centre).toPoint());
    if (!QTest::qWaitFor([field] { return field->hasActiveFocus(); }))
        return false;
    QTest::keyClick(window, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_Backspace);
    for (const QChar character : text)
        QTest::keyClick(window, character.toLatin1());
    return true;
}

void leave(QQuickWindow* window, const QString& how, QPoint at)
{
    if (how == QLatin1String("enter"))
        QTest::keyClick(window, Qt::Key_Return);
    else if (how == QLatin1String("tab"))
        QTest::keyClick(window, Qt::Key_Tab);
    else
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
}

} // namespace fieldleaving
