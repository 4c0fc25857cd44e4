// Every value read-out of the processing pages shows its value whole at this process's screen
// scale (CTest runs it offscreen and under Xvfb at several densities): once the device's values
// have arrived, and again with every read-out's variable at the values that read widest, no
// number is cut short, in a window of the design size at that scale. The pages open in one
// session, as their home-screen buttons open them.
#include "consolelinebuilder.h"
#include "devicemodelprovider.h"
#include "pagesession.h"
#include "testharness.h"
#include "testmain.h"
#include "valuereadout.h"
#include "viewloader.h"

#include <QQmlContext>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>

namespace {

// A read-out on the page: the label item and the text of its number.
struct Readout
{
    QQuickItem* label;
    QQuickItem* number;

    QString object() const { return label->property("processingObjectName").toString(); }
    QString name() const { return label->property("stateVariableName").toString(); }
    QString variable() const { return object() + '\\' + name(); }
    QString path() const { return ConsoleLineBuilder::pathBody(object(), name()); }
    QStringList parts() const { return label->property("parts").toStringList(); }
    QString shown() const { return number->property("text").toString(); }
    bool cut() const { return number->property("truncated").toBool(); }
    QString description() const
    {
        return QStringLiteral("%1 \"%2\" (number %3 of %4 px, label %5 of %6 px)")
            .arg(variable(), shown())
            .arg(number->width())
            .arg(number->implicitWidth())
            .arg(label->width())
            .arg(label->implicitWidth());
    }
};

void collectReadouts(QQuickItem* item, QList<Readout>* found)
{
    if (!item->isVisible())
        return;
    if (item->objectName() == QLatin1String("number") && item->inherits("QQuickText")) {
        QQuickItem* label = item->parentItem() ? item->parentItem()->parentItem() : nullptr;
        if (label && label->property("stateVariableName").isValid())
            found->append(Readout{label, item});
    }
    for (QQuickItem* child : item->childItems())
        collectReadouts(child, found);
}

// "2 of 6 cut: ..." for the read-outs whose number is cut short; empty when none is.
QString cutReadouts(const QList<Readout>& readouts)
{
    QStringList cut;
    for (const Readout& readout : readouts) {
        if (readout.cut())
            cut.append(readout.description());
    }
    return cut.isEmpty() ? QString()
                         : QStringLiteral("%1 of %2 cut: %3")
                               .arg(cut.size())
                               .arg(readouts.size())
                               .arg(cut.join(QStringLiteral("; ")));
}

} // namespace

class TestReadouts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void valuesShowWhole_data();
    void valuesShowWhole();

private:
    enum class Value { Lowest, Highest, Widest };

    QList<Readout> pageReadouts();
    // Sets the variable of each numeric read-out on the device to that value and waits until
    // every one shows it; the read-outs that did not, else nothing.
    QStringList showOnDevice(const QList<Readout>& readouts, Value value);

    PageSession m_session;
    DeviceModelProvider m_model;
};

void TestReadouts::initTestCase()
{
    QVERIFY(m_session.start());
    // The application's own window, 1024 x 768 (the run command's), unless the screen is so
    // dense that no page fits in it: then the design size at this scale, as its user makes it.
    QQuickView* view = m_session.shell().loader()->view();
    const QQmlContext* context = view->rootContext();
    const double scaleX = context->contextProperty("screenDpiX").toDouble();
    const double scaleY = context->contextProperty("screenDpiY").toDouble();
    if (qMax(scaleX, scaleY) > 1.1)
        view->resize(qCeil(1024 * scaleX), qCeil(768 * scaleY));
    QVERIFY(m_session.waitForFrame());
    qInfo("screen scale %.6f x %.6f, platform %s, page %g x %g", scaleX, scaleY,
          qPrintable(QGuiApplication::platformName()), m_session.shell().root()->width(),
          m_session.shell().root()->height());
}

void TestReadouts::cleanupTestCase()
{
    m_session.stop();
}

void TestReadouts::valuesShowWhole_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("payload");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("readouts");
    struct Row
    {
        const char* name;
        const char* param; // the GUI signal the page's home-screen button sends, and its payload
        const char* payload;
        const char* page;
        int readouts;
    };
    static const Row rows[] = {
        {"PEQ High", "PEQ", "High", "QX8PEQ.qml", 4},
        {"AutoEQ", "AEQ", "", "QX8AEQ.qml", 4},
        {"crossover", "Crossover", "Low", "CrossOver.qml", 4},
        {"limiter High", "LMT", "High", "QX8Limiter.qml", 6},
        {"compressor", "CMP", "", "QX8Compressor.qml", 7},
        {"gate", "GAT", "", "ScreenGate.qml", 6},
        {"AGC", "AGC", "", "ScreenAGC.qml", 9},
        {"analyser", "RTA", "", "ScreenRTA.qml", 1},
        {"signal generator", "SIGGEN", "", "ScreenSigGen.qml", 2},
        {"mixer", "MIX", "StereoMixer", "ScreenMixer.qml", 8},
    };
    for (const Row& row : rows)
        QTest::newRow(row.name) << QString(row.param) << QString(row.payload) << QString(row.page)
                                << row.readouts;
}

void TestReadouts::valuesShowWhole()
{
    QFETCH(QString, param);
    QFETCH(QString, payload);
    QFETCH(QString, page);
    QFETCH(int, readouts);
    QVERIFY(m_session.open(param, payload, page));
    // The cells come once the device has listed the page's objects.
    QTRY_COMPARE_WITH_TIMEOUT(pageReadouts().size(), readouts, qx8test::timeoutMs());
    QVERIFY(m_session.waitForValues(qx8test::timeoutMs()).isEmpty());
    QVERIFY(m_session.waitForFrame());
    const QList<Readout> shown = pageReadouts();
    const QString cut = cutReadouts(shown);
    QVERIFY2(cut.isEmpty(), qPrintable(cut));

    // Each variable at the ends of its range and at its widest value, then back as it was.
    QHash<QString, QString> held;
    for (const Readout& readout : shown)
        held.insert(readout.path(), m_session.device().command("value \"" + readout.path() + '"'));
    const std::pair<const char*, Value> values[] = {
        {"lowest", Value::Lowest}, {"highest", Value::Highest}, {"widest", Value::Widest}};
    for (const auto& [name, value] : values) {
        const QStringList unshown = showOnDevice(shown, value);
        QVERIFY2(unshown.isEmpty(),
                 qPrintable(name + QString(": not shown: ") + unshown.join("; ")));
        const QString cutThen = cutReadouts(shown);
        QVERIFY2(cutThen.isEmpty(), qPrintable(name + QString(": ") + cutThen));
    }
    for (auto value = held.cbegin(); value != held.cend(); ++value) {
        QVERIFY(value->startsWith("ok "));
        QVERIFY(m_session.device()
                    .command(QString("set \"%1\" \"%2\"").arg(value.key(), value->mid(3)))
                    .startsWith("ok"));
    }
}

QStringList TestReadouts::showOnDevice(const QList<Readout>& readouts, Value which)
{
    QList<QPair<Readout, QStringList>> expected;
    for (const Readout& readout : readouts) {
        const DeviceModel::Variable* variable = m_model.variable(readout.object(), readout.name());
        if (!variable || variable->kind != DeviceModel::Kind::Number)
            continue;
        const ValueReadout shownValues(variable);
        const std::optional<double> value = which == Value::Lowest    ? variable->minimum
                                            : which == Value::Highest ? variable->maximum
                                                                      : shownValues.widestValue();
        if (!value)
            continue;
        const QString set =
            QString("set \"%1\" \"%2\"").arg(readout.path(), QString::number(*value, 'g', 10));
        if (!m_session.device().command(set).startsWith("ok"))
            return {set + " refused"};
        expected.append({readout, shownValues.shownAt(*value)});
    }
    QStringList unshown;
    qx8test::runEventsUntil(
        [&] {
            unshown.clear();
            for (const auto& [readout, parts] : qAsConst(expected)) {
                if (readout.parts() != parts)
                    unshown.append(readout.variable() + ": " + readout.parts().join(' ') + " for " +
                                   parts.join(' '));
            }
            return unshown.isEmpty();
        },
        qx8test::timeoutMs());
    if (unshown.isEmpty() && !m_session.waitForFrame())
        unshown.append("no frame drawn");
    return unshown;
}

QList<Readout> TestReadouts::pageReadouts()
{
    QList<Readout> found;
    collectReadouts(m_session.shell().pageItem(), &found);
    return found;
}

QX8_TEST_MAIN(TestReadouts)
#include "tst_readouts.moc"
