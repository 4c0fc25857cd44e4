#include "collectedhits.h"

#include <QUrl>

namespace {
QString formDecoded(QByteArray text)
{
    return QUrl::fromPercentEncoding(text.replace('+', ' '));
}
} // namespace

QString CollectedHit::value(const QString& key) const
{
    for (const auto& [name, value] : items) {
        if (name == key)
            return value;
    }
    return {};
}

QList<QPair<QString, QString>> CollectedHit::withoutQueueTime() const
{
    QList<QPair<QString, QString>> kept = items;
    kept.erase(std::remove_if(kept.begin(), kept.end(),
                              [](const auto& item) { return item.first == QLatin1String("qt"); }),
               kept.end());
    return kept;
}

QList<CollectedHit> collectedHits(const HttpServerProcess& collector)
{
    QList<CollectedHit> hits;
    for (const HttpServerProcess::Request& request : collector.requests()) {
        if (request.method != "POST" || request.path != "/collect")
            continue;
        CollectedHit hit{{}, request};
        for (const QByteArray& item : request.body.split('&')) {
            const int separator = item.indexOf('=');
            hit.items.append(separator < 0 ? qMakePair(formDecoded(item), QString())
                                           : qMakePair(formDecoded(item.left(separator)),
                                                       formDecoded(item.mid(separator + 1))));
        }
        hits.append(hit);
    }
    return hits;
}

QList<CollectedHit> accepted(QList<CollectedHit> hits)
{
    hits.erase(
        std::remove_if(hits.begin(), hits.end(),
                       [](const CollectedHit& hit) { return hit.request.status / 100 != 2; }),
        hits.end());
    return hits;
}
