// Delivery by variable: only matching receivers, in construction order, robust to receivers
// that unbind, bind or die while a reply is being delivered.
#include "replyrouter.h"
#include "testmain.h"

#include <QTest>
#include <functional>
#include <memory>
#include <utility>

namespace {
struct Receiver : ReplyReceiver
{
    Receiver(QStringList* log, QString name) : log(log), name(std::move(name)) {}
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
        Receiver gain(&log, "gain"), freq(&log, "freq"), other(&log, "other"), none(&log, "none");
        router.bind(&gain, "PEQ", "Gain");
        router.bind(&freq, "PEQ", "Freq");
        router.bind(&other, "GEQ", "Gain");
        router.bind(&none, "", "");
        router.bind(&none, "P", "");
        for (const DataFromDevice& r : {reply("PEQ", "Gain", "1"), reply("GEQ", "Freq", "2"),
                                        reply("", "", "3"), reply("P", "", "4")})
            router.deliver(r);
        QCOMPARE(log, QStringList({"gain:1"}));
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
        QCOMPARE(router.receiverCount("P", "Y"), 0);
    }

    // One receiver destroys the next and binds a new one while the reply is delivered: the dead
    // one is skipped, the new one waits for the next reply.
    void receiversChangingDuringDelivery()
    {
        QStringList log;
        ReplyRouter router;
        Receiver first(&log, "first"), third(&log, "third"), late(&log, "late");
        auto second = std::make_unique<Receiver>(&log, "second");
        router.bind(&first, "P", "X");
        router.bind(second.get(), "P", "X");
        router.bind(&third, "P", "X");
        bool changed = false;
        first.onReply = [&] {
            if (std::exchange(changed, true))
                return;
            router.unbind(second.get(), "P", "X");
            second.reset();
            router.bind(&late, "P", "X");
        };
        router.deliver(reply("P", "X", "1"));
        router.deliver(reply("P", "X", "2"));
        QCOMPARE(log, QStringList({"first:1", "third:1", "first:2", "third:2", "late:2"}));
    }
};

QX8_TEST_GUILESS_MAIN(TestReplyRouter)
#include "tst_replyrouter.moc"
