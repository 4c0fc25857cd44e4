#pragma once

#include <QString>

// One request line: a command word, a path (quoted or a bare word) and an optional value
// (its outer pair of double quotes removed), e.g. set "\\Preset\A\SV\B\%" "50".
struct ConsoleCommand
{
    QString word;
    QString path;
    QString value;
    bool hasValue = false;

    static ConsoleCommand parse(const QString& line);
};

// word "path" or word "path" "value": the device's reply form.
QString replyLine(const QString& word, const QString& path);
QString replyLine(const QString& word, const QString& path, const QString& value);
