// Delivery by variable: only matching receivers, in construction order, robust to receivers
// that unbind or die while a reply is being delivered.
#include "replyrouter.h"

#include <QTest>
#include <functional>
#include <memory>

namespace {
struct Receiver : ReplyReceiver
{
    explicit Receiver(QStringList* log, QString name) : log(log), name(std::move(name)) {}
    void receiveReply(const DataFromDevice& reply) override
    {
        log->append(name + ":" + reply.value);
        if (onReply)
            onReply();
    }
    QStringList* log;
    QString name;
    std::function<void()> onReply;
};

DataFromDevice reply(const QString& po, const QString& sv, const QString& value)
{
    return DataFromDevice{po, sv, {}, value, "subr"};
}
} // namespace

class TestReplyRouter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deliversOnlyToMatchingVariable()
    {
        QStringList log;
        ReplyRouter router;
        Receiver gain(&log, "gain"), freq(&log, "freq"), otherObject(&log, "other");
        router.bind(&gain, "PEQ", "Gain");
        router.bind(&freq, "PEQ", "Freq");
        router.bind(&otherObject, "GEQ", "Gain");
        router.deliver(reply("PEQ", "Gain", "1"));
        router.deliver(reply("GEQ", "Freq", "2"));
        QCOMPARE(log, QStringList({"gain:1"}));
    }

    void emptyNamesNeverBind()
    {
        QStringList log;
        ReplyRouter router;
        Receiver unbound(&log, "unbound");
        router.bind(&unbound, "", "");
        router.bind(&unbound, "P", "");
        router.deliver(reply("", "", "junk"));
        router.deliver(reply("P", "", "junk"));
        QVERIFY(log.isEmpty());
    }

    void constructionOrderSurvivesRebinding()
    {
        QStringList log;
        ReplyRouter router;
        Receiver first(&log, "first"), second(&log, "second"), third(&log, "third");
        router.bind(&third, "P", "X");
        router.bind(&first, "P", "Y");
        router.bind(&second, "P", "X");
        // `first` changes its variable to X: it is served first, as the oldest.
        router.unbind(&first, "P", "Y");
        router.bind(&first, "P", "X");
        router.bind(&first, "P", "X"); // twice is once
        router.deliver(reply("P", "X", "v"));
        QCOMPARE(log, QStringList({"first:v", "second:v", "third:v"}));
        QCOMPARE(router.receiverCount("P", "X"), 3);
        QCOMPARE(router.receiverCount("P", "Y"), 0);
    }

    void receiverDestroyedDuringDelivery()
    {
        QStringList log;
        ReplyRouter router;
        Receiver first(&log, "first");
        auto second = std::make_unique<Receiver>(&log, "second");
        Receiver third(&log, "third");
        router.bind(&first, "P", "X");
        router.bind(second.get(), "P", "X");
        router.bind(&third, "P", "X");
        first.onReply = [&] {
            router.unbind(second.get(), "P", "X");
            second.reset();
        };
        router.deliver(reply("P", "X", "v"));
        QCOMPARE(log, QStringList({"first:v", "third:v"}));
    }

    void receiverBoundDuringDeliveryWaitsForNextReply()
    {
        QStringList log;
        ReplyRouter router;
        Receiver first(&log, "first"), late(&log, "late");
        router.bind(&first, "P", "X");
        first.onReply = [&] { router.bind(&late, "P", "X"); };
        router.deliver(reply("P", "X", "1"));
        QCOMPARE(log, QStringList({"first:1"}));
    }
};

QTEST_GUILESS_MAIN(TestReplyRouter)
#include "tst_replyrouter.moc"
