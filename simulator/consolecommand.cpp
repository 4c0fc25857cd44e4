#include "consolecommand.h"

namespace {

QString withoutLeadingBlanks(const QString& text)
{
    int start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    return text.mid(start);
}

} // namespace

ConsoleCommand ConsoleCommand::parse(const QString& line)
{
    ConsoleCommand command;
    QString rest = line.trimmed();
    const int blank = rest.indexOf(' ');
    command.word = blank < 0 ? rest : rest.left(blank);
    rest = blank < 0 ? QString() : withoutLeadingBlanks(rest.mid(blank + 1));
    if (rest.startsWith('"')) {
        const int end = rest.indexOf('"', 1);
        command.path = end < 0 ? rest.mid(1) : rest.mid(1, end - 1);
        rest = end < 0 ? QString() : rest.mid(end + 1);
    } else {
        const int end = rest.indexOf(' ');
        command.path = end < 0 ? rest : rest.left(end);
        rest = end < 0 ? QString() : rest.mid(end + 1);
    }
    rest = rest.trimmed();
    if (!rest.isEmpty()) {
        command.hasValue = true;
        const bool quoted = rest.size() >= 2 && rest.startsWith('"') && rest.endsWith('"');
        command.value = quoted ? rest.mid(1, rest.size() - 2) : rest;
    }
    return command;
}

QString replyLine(const QString& word, const QString& path)
{
    return word + " \"" + path + '"';
}

QString replyLine(const QString& word, const QString& path, const QString& value)
{
    return replyLine(word, path) + " \"" + value + '"';
}
