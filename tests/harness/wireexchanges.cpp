#include "wireexchanges.h"

#include <QHash>
#include <QRegularExpression>

#include <deque>

namespace {

struct Connection
{
    std::deque<int> unanswered; // indexes into the exchanges
    qint64 bytesSinceAnswer = 0;
};

} // namespace

QList<WireExchange> wireExchanges(const QStringList& timedLog)
{
    static const QRegularExpression format(
        QStringLiteral("^(\\d+) (\\d+) (RX|TX|answered)(?: (.*))?$"));
    QList<WireExchange> exchanges;
    QHash<int, Connection> connections;
    for (int index = 0; index < timedLog.size(); ++index) {
        const QRegularExpressionMatch match = format.match(timedLog.at(index));
        if (!match.hasMatch())
            continue;
        const qint64 ms = match.captured(1).toLongLong();
        const int number = match.captured(2).toInt();
        const QString event = match.captured(3);
        Connection& connection = connections[number];
        if (event == QLatin1String("RX")) {
            if (connection.unanswered.empty())
                connection.bytesSinceAnswer = 0; // what came before was not asked for
            connection.unanswered.push_back(exchanges.size());
            exchanges.append(
                {index, number, match.captured(4), ms, -1, 0, int(connection.unanswered.size())});
        } else if (event == QLatin1String("TX")) {
            connection.bytesSinceAnswer += match.captured(4).toUtf8().size() + 1;
        } else if (!connection.unanswered.empty()) {
            WireExchange& answered = exchanges[connection.unanswered.front()];
            connection.unanswered.pop_front();
            answered.answeredMs = ms;
            answered.answerBytes = connection.bytesSinceAnswer;
            connection.bytesSinceAnswer = 0;
        }
    }
    return exchanges;
}

int mostRequestsInFlight(const QList<WireExchange>& exchanges, qint64 fromMs)
{
    int most = 0;
    for (const WireExchange& exchange : exchanges) {
        if (exchange.requestedMs >= fromMs)
            most = qMax(most, exchange.inFlight);
    }
    return most;
}
