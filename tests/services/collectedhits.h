#pragma once

#include "httpserverprocess.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The analytics hits that the harness HTTP server received, read as a form-decoding collector
// reads them ("+" is a space, "%XX" a byte of UTF-8), in the order they arrived.
struct CollectedHit
{
    QList<QPair<QString, QString>> items;
    HttpServerProcess::Request request;

    QString value(const QString& key) const;
    // The items without "qt", which grows with every attempt: equal for every send of one hit.
    QList<QPair<QString, QString>> withoutQueueTime() const;
};

QList<CollectedHit> collectedHits(const HttpServerProcess& collector);
// The hits that the collector answered with 2xx.
QList<CollectedHit> accepted(QList<CollectedHit> hits);
