// Page load to every value shown, per processing page of the binding table, against VirtualQX8
// on loopback: from the request to load the page until every bound control holds the device's
// value and a frame with them has been drawn. Median of five loads per page; each page's row
// compares it with the lightest page that carries a graph (goal: at most twice that).
//
// Run inside scripts/netns-run through tests/isolate.sh (private settings, offscreen):
//   QX8_VIRTUAL_PROCESSOR=simulator/VirtualQX8 ../tests/isolate.sh bench/shell/pageloadbench
#include "devicemodel.h"
#include "graphitembase.h"
#include "pagesession.h"
#include "processingobjectlist.h"
#include "qx8control.h"
#include "testharness.h"
#include "testmain.h"
#include "valuesshown.h"

#include <QElapsedTimer>
#include <QQuickItem>
#include <QtTest>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kLoads = 5;

struct PageRow
{
    QString page;
    QString selector;
};

// The processing pages, each with the first value of its selector whose objects the device's
// preset holds.
QList<PageRow> processingPages(const ProcessingObjectList& preset)
{
    QList<PageRow> rows;
    for (const DeviceModel::Screen& screen : DeviceModel::fromResources().screens()) {
        const bool shellPage = std::any_of(
            screen.bindings.cbegin(), screen.bindings.cend(), [](const DeviceModel::Binding& b) {
                return b.object == QLatin1String("NPO") || b.object == QLatin1String("Presets");
            });
        if (screen.everyPage || screen.bindings.isEmpty() || shellPage)
            continue;
        const QStringList selectors = screen.selectors();
        if (selectors.isEmpty()) {
            rows.append({screen.page, QString()});
            continue;
        }
        for (const QString& selector : selectors) {
            const bool held =
                std::all_of(screen.bindings.cbegin(), screen.bindings.cend(),
                            [&](const DeviceModel::Binding& b) {
                                return b.selector != selector || preset.contains(b.object);
                            });
            if (held) {
                rows.append({screen.page, selector});
                break;
            }
        }
    }
    return rows;
}

// A painted graph in and below `item`, through the item tree.
bool carriesGraph(QQuickItem* item)
{
    if (qobject_cast<GraphItemBase*>(item))
        return true;
    const QList<QQuickItem*> children = item->childItems();
    return std::any_of(children.cbegin(), children.cend(), carriesGraph);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

class PageLoadBench : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pageLoadToValuesShown();

private:
    // Milliseconds from the load request to the first frame with every value; -1 when the
    // values did not come. `graph` tells whether the page carries a graph.
    double loadOnce(const PageRow& row, bool* graph);

    PageSession m_session;
};

double PageLoadBench::loadOnce(const PageRow& row, bool* graph)
{
    QElapsedTimer clock;
    clock.start();
    if (!m_session.load(row.page, row.selector) ||
        !waitForValuesShown(m_session, qx8test::timeoutMs()))
        return -1;
    const double elapsed = clock.nsecsElapsed() / 1e6;
    *graph = carriesGraph(m_session.shell().pageItem());
    m_session.unload();
    return elapsed;
}

void PageLoadBench::pageLoadToValuesShown()
{
    QVERIFY(m_session.start());
    ProcessingObjectList preset;
    QTRY_VERIFY_WITH_TIMEOUT(preset.listed(), qx8test::timeoutMs());
    struct Result
    {
        QString name;
        double medianMs;
        bool graph;
    };
    QList<Result> results;
    for (const PageRow& row : processingPages(preset)) {
        QList<double> loads;
        bool graph = false;
        for (int load = 0; load < kLoads; ++load) {
            const double ms = loadOnce(row, &graph);
            QVERIFY2(ms >= 0, qPrintable(row.page + " did not show its values"));
            loads.append(ms);
        }
        const QString name = row.selector.isEmpty() ? row.page : row.page + ' ' + row.selector;
        results.append({name, median(loads), graph});
    }
    double lightestGraph = 0;
    QString lightestName;
    for (const Result& result : qAsConst(results)) {
        if (result.graph && (lightestName.isEmpty() || result.medianMs < lightestGraph)) {
            lightestGraph = result.medianMs;
            lightestName = result.name;
        }
    }
    QVERIFY(!lightestName.isEmpty());
    for (const Result& result : qAsConst(results)) {
        std::printf("ROW|page load to values shown: %s|%.1f ms|lightest graph page (%s): %.1f "
                    "ms|%.2f|<= 2x\n",
                    qPrintable(result.name), result.medianMs, qPrintable(lightestName),
                    lightestGraph, result.medianMs / lightestGraph);
    }
    std::fflush(stdout);
    m_session.stop();
}

QX8_TEST_MAIN(PageLoadBench)
#include "pageloadbench.moc"
