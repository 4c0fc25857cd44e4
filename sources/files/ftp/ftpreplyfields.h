#pragma once

#include <QHostAddress>
#include <QString>

#include <optional>

// The fields the interpreter takes from a reply's text: the data address of a passive-mode reply,
// the port of an extended one and the size in a reply to SIZE. A broken or hostile server writes
// what it likes there, so each is checked and anything else gives nothing.
namespace ftpreplyfields {

struct PassiveAddress
{
    QHostAddress host;
    quint16 port = 0;
};

// The six numbers "h1,h2,h3,h4,p1,p2" of a 227 reply: four octets, then a port of 1 to 65535.
std::optional<PassiveAddress> passiveAddress(const QString& text);
// The port of a 229 reply, "(|||port|)" with any delimiter the server picks: 1 to 65535.
std::optional<quint16> extendedPassivePort(const QString& text);
// The byte count of a 213 reply to SIZE: decimal digits, blanks around them allowed.
std::optional<qint64> fileSize(const QString& text);

} // namespace ftpreplyfields
