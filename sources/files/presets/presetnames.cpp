#include "presetnames.h"

#include <QRegularExpression>

namespace presetnames {

const QString deviceFolder = QStringLiteral("/presets");

bool isValidId(const QString& id)
{
    // Anchored to the very end: "$" alone would let a final line feed through.
    static const QRegularExpression number(
        QRegularExpression::anchoredPattern(QStringLiteral("100|[1-9][0-9]?")));
    return number.match(id).hasMatch();
}

bool isValidName(const QString& name)
{
    static const QRegularExpression allowed(QRegularExpression::anchoredPattern(
        QStringLiteral("[A-Za-z0-9 !#$%&'()+,\\-.=@\\[\\]^_\\\\{}~]+")));
    return allowed.match(name).hasMatch();
}

QString slotFile(const QString& id)
{
    return QStringLiteral("Preset_") + id + QStringLiteral(".preset");
}

} // namespace presetnames
