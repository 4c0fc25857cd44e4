// Subscription storm: 1,000 value objects, bound to the numeric state variables of VirtualQX8
// (several per variable, as screens bind them), wait for the login. Measured from the login
// (vimbalReady) to the moment every object holds its device value, and to the moment the `sub`
// of every variable is answered (objects of one variable share its subscription). Medians of
// kRuns logins. Run inside scripts/netns-run (scripts/bench.sh does).
#include "qx8numericalsv.h"
#include "qx8settings.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "virtualprocessor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int kObjects = 1000;
constexpr int kRuns = 5;

using Variable = std::pair<QString, QString>; // processing object, state variable
using Objects = std::vector<std::unique_ptr<QX8NumericalSV>>;

TCPAdaptor* link()
{
    return TCPAdaptor::instance();
}

bool logIn()
{
    QSignalSpy ready(link(), &TCPAdaptor::vimbalReady);
    link()->doConnect();
    return ready.wait(qx8test::timeoutMs());
}

bool logOut()
{
    link()->doDisconnect();
    return QTest::qWaitFor([] { return !link()->isConnected(); }, qx8test::timeoutMs());
}

Objects bind(const std::vector<Variable>& variables, int count)
{
    Objects objects;
    for (int i = 0; i < count; ++i) {
        const Variable& variable = variables[size_t(i) % variables.size()];
        objects.push_back(std::make_unique<QX8NumericalSV>());
        objects.back()->setPOName(variable.first);
        objects.back()->setSVName(variable.second);
    }
    return objects;
}

// An item of an `ls` answer is a name followed by " : ".
QString itemName(const QString& item)
{
    return item.section(QStringLiteral(" : "), 0, 0).trimmed();
}

// The device's processing objects and their state variables, as its `ls` lists them.
std::vector<Variable> listVariables()
{
    QSignalSpy lists(link(), &TCPAdaptor::poAvailable);
    link()->SendRequest({"NPO", "Preset", "", "", "ls"});
    if (!lists.wait(qx8test::timeoutMs()))
        return {};
    const QStringList objects = lists.takeFirst().at(0).toStringList();
    for (const QString& object : objects)
        link()->SendRequest({"NPO", "Preset\\" + itemName(object) + "\\SV", "", "", "ls"});
    std::vector<Variable> variables;
    if (!QTest::qWaitFor([&] { return lists.size() == objects.size(); }, qx8test::timeoutMs()))
        return {};
    for (const QList<QVariant>& list : lists) {
        const QString object = list.at(1).toString().section('\\', -2, -2);
        for (const QString& variable : list.at(0).toStringList())
            variables.emplace_back(object, itemName(variable));
    }
    return variables;
}

// Those of the variables that a value object takes a number from.
std::vector<Variable> numericVariables(const std::vector<Variable>& variables)
{
    QSignalSpy answers(link(), &TCPAdaptor::dataAvailable);
    const Objects probes = bind(variables, int(variables.size()));
    if (!QTest::qWaitFor([&] { return answers.size() >= int(variables.size()); },
                         qx8test::timeoutMs()))
        return {};
    const float unset = QX8NumericalSV().value();
    std::vector<Variable> numeric;
    for (size_t i = 0; i < variables.size(); ++i) {
        if (probes[i]->value() != unset)
            numeric.push_back(variables[i]);
    }
    return numeric;
}

struct Storm
{
    double allValuesMs = -1;
    double lastAnswerMs = -1;
};

Storm measureStorm(const std::vector<Variable>& variables)
{
    Storm storm;
    QElapsedTimer clock;
    const int subscribed = std::min(kObjects, int(variables.size()));
    QSet<QString> answered;
    const auto onReady = QObject::connect(link(), &TCPAdaptor::vimbalReady, [&] {
        clock.start();
        answered.clear();
    });
    const auto onAnswer =
        QObject::connect(link(), &TCPAdaptor::dataAvailable, [&](const DataFromDevice& reply) {
            if (reply.command != QLatin1String("subr"))
                return;
            answered.insert(reply.poName + QLatin1Char('\\') + reply.svName);
            if (answered.size() == subscribed && storm.lastAnswerMs < 0)
                storm.lastAnswerMs = clock.nsecsElapsed() / 1e6;
        });
    // Bound while logged out, so each sends its `sub` on the login.
    const Objects objects = bind(variables, kObjects);
    int holding = 0;
    for (const auto& object : objects) {
        QObject::connect(object.get(), &QX8NumericalSV::valueChanged, object.get(),
                         [&holding, &storm, &clock, counted = false]() mutable {
                             if (std::exchange(counted, true))
                                 return;
                             if (++holding == kObjects)
                                 storm.allValuesMs = clock.nsecsElapsed() / 1e6;
                         });
    }
    const bool complete =
        logIn() &&
        qx8test::runEventsUntil([&] { return storm.allValuesMs >= 0 && storm.lastAnswerMs >= 0; },
                                qx8test::timeoutMs());
    QObject::disconnect(onReady);
    QObject::disconnect(onAnswer);
    return logOut() && complete ? storm : Storm{};
}

double median(std::vector<double> figures)
{
    std::sort(figures.begin(), figures.end());
    return figures[figures.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (!qEnvironmentVariableIsSet("QX8_VIRTUAL_PROCESSOR"))
        qputenv("QX8_VIRTUAL_PROCESSOR", QX8_VIRTUAL_PROCESSOR_PATH);
    VirtualProcessor device;
    if (!device.start()) {
        std::fprintf(stderr, "VirtualQX8 did not start\n");
        return 1;
    }
    QX8Settings().setValue("Data/CurrentDeviceAddress", device.address());
    QX8Settings().setValue("Data/CurrentDevicePassword", "quillrampstow");

    if (!logIn()) {
        std::fprintf(stderr, "no login to VirtualQX8\n");
        return 1;
    }
    const std::vector<Variable> variables = numericVariables(listVariables());
    if (!logOut() || variables.empty()) {
        std::fprintf(stderr, "no numeric state variables listed by VirtualQX8\n");
        return 1;
    }

    std::vector<double> allValues, lastAnswer;
    for (int run = 0; run < kRuns; ++run) {
        const Storm storm = measureStorm(variables);
        if (storm.allValuesMs < 0 || storm.lastAnswerMs < 0) {
            std::fprintf(stderr, "run %d did not complete\n", run + 1);
            return 1;
        }
        allValues.push_back(storm.allValuesMs);
        lastAnswer.push_back(storm.lastAnswerMs);
    }
    std::printf("%d value objects on %zu numeric variables, medians of %d logins\n", kObjects,
                variables.size(), kRuns);
    std::printf("ROW|subscription storm, 1,000 objects: login to every value held|%.1f ms|-|-|"
                "< 100 ms\n",
                median(allValues));
    std::printf(
        "ROW|subscription storm, 1,000 objects: login to every variable's sub answered|%.1f ms|-|-|"
        "-\n",
        median(lastAnswer));
    link()->shutdown();
    return 0;
}
