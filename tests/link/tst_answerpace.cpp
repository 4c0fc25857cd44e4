// The device's answer pace as the link measures it: how many polls may travel ahead of a page's
// request on links of different speeds, with idle time between bursts and a link that slows.
#include "answerpace.h"
#include "testmain.h"

#include <QVector>

using namespace std::chrono_literals;

namespace {

constexpr int kLeast = 8;
constexpr int kMost = 64;
constexpr std::chrono::milliseconds kBudget = 100ms;

// What happens on the link: the device busy from a moment, then answers some milliseconds apart.
struct Stretch
{
    double idleMs; // before the first request went out
    int answers;
    double msApart;
};

} // namespace

Q_DECLARE_METATYPE(QVector<Stretch>)

class TestAnswerPace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersWithinTheBudget_data();
    void answersWithinTheBudget();
};

void TestAnswerPace::answersWithinTheBudget_data()
{
    QTest::addColumn<QVector<Stretch>>("stretches");
    QTest::addColumn<int>("expected");
    QTest::newRow("nothing answered yet") << QVector<Stretch>{} << kLeast;
    QTest::newRow("2,000 B/s: an answer every 25 ms") << QVector<Stretch>{{0, 40, 25}} << kLeast;
    QTest::newRow("an answer every 4 ms") << QVector<Stretch>{{0, 40, 4}} << 25;
    QTest::newRow("loopback: 32 answers at once after 1 ms")
        << QVector<Stretch>{{0, 1, 1}, {0, 31, 0}} << kMost;
    QTest::newRow("idle seconds between bursts are not counted")
        << QVector<Stretch>{{0, 20, 4}, {5000, 20, 4}, {60000, 20, 4}} << 25;
    QTest::newRow("a link that slows: the recent pace counts")
        << QVector<Stretch>{{0, 200, 0.1}, {10, 200, 10}} << 10;
    QTest::newRow("a link that recovers")
        << QVector<Stretch>{{0, 200, 25}, {10, 400, 0.5}} << kMost;
}

void TestAnswerPace::answersWithinTheBudget()
{
    QFETCH(QVector<Stretch>, stretches);
    QFETCH(int, expected);
    AnswerPace pace;
    AnswerPace::Clock::time_point now{};
    const auto after = [](double ms) {
        return std::chrono::duration_cast<AnswerPace::Clock::duration>(
            std::chrono::duration<double, std::milli>(ms));
    };
    for (const Stretch& stretch : stretches) {
        now += after(stretch.idleMs);
        pace.busyFrom(now);
        for (int i = 0; i < stretch.answers; ++i) {
            now += after(stretch.msApart);
            pace.answered(now);
        }
    }
    QCOMPARE(pace.answersWithin(kBudget, kLeast, kMost), expected);
    pace.reset();
    QCOMPARE(pace.answersWithin(kBudget, kLeast, kMost), kLeast);
}

QX8_TEST_MAIN(TestAnswerPace)
#include "tst_answerpace.moc"
