#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QString>
#include <QStringList>

#include <optional>

// The update feed both updaters read: one XML document announcing, per product, revisions with a
// dotted version and the URL of their image. These are the operations the two share: the query
// that turns the feed into "Version|ImageUrl" rows, the choice of the newest row, the version
// comparison and the texts of network failures.
namespace updatefeed {

enum class Product { Application, Firmware };

struct Latest
{
    QString version;
    QString imageUrl; // empty when nothing newer than the own version is announced
};

// Rows "Version|ImageUrl" of the product's revisions, in document order (none when the feed
// announces nothing for the product). Nothing when the feed cannot be read: it is not
// well-formed XML, carries a document type declaration, or has a namespace that would break out
// of the query's string literal.
std::optional<QStringList> rows(const QByteArray& feed, Product product);

// The greatest version of the rows that is newer than `ownVersion`, with its image URL; ties keep
// the earlier row. Rows without a bar, and rows whose version could not name a file of its own in
// the image cache, are skipped.
Latest latest(const QStringList& rows, const QString& ownVersion);

// True when `first` is a greater dotted version than `second`: parts compare as integers (a part
// that is not one counts as 0), and a longer version is greater only by a later part above 0.
bool isFirstGreaterThanSecond(const QString& first, const QString& second);

// The user-facing text for a failed request.
QString errorText(QNetworkReply::NetworkError code);

} // namespace updatefeed
