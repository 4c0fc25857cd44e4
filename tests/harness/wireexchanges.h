#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One request a console client sent and the answer it got, read from VirtualQX8's timed wire log
// (--wire-log-times).
struct WireExchange
{
    int entry = 0; // index of the request's entry in the log
    int connection = 0;
    QString request;
    qint64 requestedMs = 0; // when the device read it
    qint64 answeredMs = -1; // when the answer's last byte was written; -1: not yet
    // Bytes of the lines written while it was the oldest unanswered request (its answer, and any
    // unasked update the device slipped in between).
    qint64 answerBytes = 0;
    // Requests of its connection unanswered just after it was read, itself included.
    int inFlight = 0;
};

// The exchanges of every console connection, in the order the requests were read.
QList<WireExchange> wireExchanges(const QStringList& timedLog);

// The largest number of requests unanswered at once on one connection, counted at each request
// read at or after `fromMs`.
int mostRequestsInFlight(const QList<WireExchange>& exchanges, qint64 fromMs = 0);
