#pragma once

#include "datafromdevice.h"

#include <QByteArray>
#include <optional>

// The one place where console lines are built. A field that could break the line framing (CR,
// LF or NUL anywhere, a double quote in a name, a double quote in a value other than its own outer
// pair) makes the line unbuildable: the request is dropped with a warning, never sent.
class ConsoleLineBuilder
{
public:
    // `command "<path>[%]"[ "<value>"]` + LF; nothing for a record with an empty name.
    static std::optional<QByteArray> request(const DataFromDevice& record);

    // `connect administrator "<password>"` + LF.
    static std::optional<QByteArray> login(const QString& password);

    // A whole raw line: ends in one LF and holds no other CR, LF or NUL.
    static bool isSingleLine(const QByteArray& line);

    // The path body between the quotes, without the "%" suffix: `\\Preset\<PO>\SV\<SV>\` etc.
    static QString pathBody(const QString& poName, const QString& svName);
};
