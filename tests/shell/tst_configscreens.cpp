// The configurable home screen and its configuration overlay in the running application, driven
// through their buttons against VirtualQX8: a crossover type picked, applied (the device receives
// the rebuilt configuration and the grid is drawn again from its answer) and discarded; an output
// name the screen refuses; an EQ's settings copied onto another EQ on the device; and clicks
// beyond the lists or the grid, which change nothing; the grid's captions whole at their full size
// beside the overlay.
#include "configresources.h"
#include "fieldleaving.h"
#include "homescreenmodel.h"
#include "pagesession.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"

#include <QPointer>
#include <QQmlContext>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickView>
#include <QQuickWindow>
#include <QScopeGuard>
#include <QtTest>

namespace {

const QString kCrossoverCell = QStringLiteral("cell_out_3_0");
const QString kGeqValue = QStringLiteral(R"("\\Preset\%1\SV\1.0 kHz\")");

// The builder's name of the crossover type the lists show as `displayName`.
QString configName(const QString& displayName)
{
    for (const CrossoverType& type : ConfigResources::catalogue().types()) {
        if (type.displayName == displayName)
            return type.configName;
    }
    return QString();
}

// The items shown in and below `from`, through the item tree (a Repeater's items have no QObject
// parent).
void collectShown(QQuickItem* from, QList<QQuickItem*>* shown)
{
    if (!from->isVisible())
        return;
    shown->append(from);
    for (QQuickItem* child : from->childItems())
        collectShown(child, shown);
}

} // namespace

class TestConfigScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void crossoverAppliedAndDiscarded();
    void inputRoutedAndDiscarded();
    void rowLinkedIntoABlock();
    void mixerPickedAndDiscarded();
    void insertPickedAndDiscarded();
    void refusedOutputName();
    void outputNameLeftByTabOrAButton_data();
    void outputNameLeftByTabOrAButton();
    void outputNameLeftByTheFocus_data();
    void outputNameLeftByTheFocus();
    void tabOutOfANameKeepsItsPlace();
    void eqSettingsCopiedOntoAnotherEq();
    void clicksBeyondTheListsChangeNothing_data();
    void clicksBeyondTheListsChangeNothing();
    void gridReadsAtFullSize();
    void helpShowsWhatTheHomeScreenShows();

private:
    // Pages reload after every edit: items are looked up afresh each time.
    QQuickItem* item(const QString& name) const { return m_session.item(name); }
    QQuickItem* waitForItem(const QString& name) const { return m_session.waitForItem(name); }
    void click(const QString& name) { QVERIFY2(m_session.click(name), qPrintable(name)); }
    QString caption(const QString& cell) const
    {
        QQuickItem* found = item(cell);
        return found ? found->property("captionText").toString() : QString();
    }
    bool overlayShown() const { return item(QStringLiteral("configOverlay")) != nullptr; }
    // An edit reloads the page through events posted in turn (the screen loader's transition,
    // the load, the old page's deletion): once a while passes with no new page, it stays.
    void settle() const
    {
        QPointer<QQuickItem> page;
        while (page.isNull() || page != m_session.shell().pageItem()) {
            page = m_session.shell().pageItem();
            QTest::qWait(100);
        }
    }
    void enterConfigMode()
    {
        click(QStringLiteral("configureButton"));
        QTRY_VERIFY(overlayShown());
    }
    // The reconfiguration lines the device has received from the `from`th line on.
    QStringList reconfigurations(int from) const
    {
        return m_session.device().received().mid(from).filter(
            QStringLiteral(R"("method":"Reconfig")"));
    }
    // In configuration mode with the third output's row selected, the field of that output's
    // name and, in `shown`, the name it shows; null when there is none.
    QQuickItem* outputNameField(QString* shown)
    {
        enterConfigMode();
        click(QStringLiteral("cell_out_7_2"));
        QQuickItem* setter = waitForItem(QStringLiteral("outputName_3"));
        if (!setter)
            return nullptr;
        *shown = setter->property("text").toString();
        for (QQuickItem* child : setter->childItems()) {
            if (child->property("acceptableInput").isValid())
                return child;
        }
        return nullptr;
    }
    // An edit builds the overlay again: its items are looked up afresh. The third output's name
    // once its edit is closed, and the overlay's last line while it shows.
    QString shownOutputName() const
    {
        QQuickItem* setter = item(QStringLiteral("outputName_3"));
        return setter && !setter->property("editing").toBool() ? setter->property("text").toString()
                                                               : QString();
    }
    QString shownMessage() const
    {
        QQuickItem* message = item(QStringLiteral("overlayMessage"));
        return message && message->isVisible() ? message->property("text").toString() : QString();
    }
    // The insert choices shown checked, by their names.
    QStringList checkedInserts() const;
    // Picks the crossover type after the cell's current one; returns its name.
    QString pickNextCrossover();

    HomeScreenModel* m_model = nullptr;
    mutable PageSession m_session;
};

void TestConfigScreens::initTestCase()
{
    QVERIFY(m_session.start());
    QX8Settings().setValue(settingskeys::kConfigurableHomeScreen, QStringLiteral("true"));
    m_model = m_session.shell().root()->findChild<HomeScreenModel*>();
    QVERIFY(m_model);
    QVERIFY(m_session.open(QStringLiteral("HomeButtonPressed"), QString(),
                           QStringLiteral("QX8HomeScreen.qml")));
    QTRY_VERIFY(item(kCrossoverCell));
    QVERIFY(!overlayShown());
}

QString TestConfigScreens::pickNextCrossover()
{
    click(kCrossoverCell);
    QQuickItem* list = waitForItem(QStringLiteral("crossoverList"));
    if (!list)
        return QString();
    const int current = list->property("current").toInt();
    QQuickItem* next = waitForItem(QStringLiteral("crossoverChoice_%1").arg(current + 1));
    if (!next || next->property("checked").toBool())
        return QString();
    const QString name = next->property("text").toString();
    QMetaObject::invokeMethod(next, "clicked");
    return name;
}

void TestConfigScreens::crossoverAppliedAndDiscarded()
{
    enterConfigMode();
    const QString before = caption(kCrossoverCell);
    const QString picked = pickNextCrossover();
    QVERIFY(!picked.isEmpty());
    QTRY_VERIFY(caption(kCrossoverCell) != before); // the working configuration's grid
    const int sent = m_session.device().received().size();
    // The device takes its time: the overlay shows the work until it has answered.
    QCOMPARE(m_session.device().command("fault answer-delay=300"), QStringLiteral("ok"));
    click(QStringLiteral("applyButton"));
    QTRY_VERIFY(item(QStringLiteral("applyProgress")));
    QVERIFY(item(QStringLiteral("overlayMessage"))
                ->property("text")
                .toString()
                .startsWith(QStringLiteral("Applying the configuration")));
    QVERIFY(!item(QStringLiteral("discardButton"))->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(reconfigurations(sent).size(), 1, qx8test::timeoutMs());
    QVERIFY2(reconfigurations(sent).first().contains("[\"Out_CrossoverIIR\",\"" +
                                                     configName(picked) + '"'),
             qPrintable(picked));
    // The device's answer ends configuration mode and the grid shows the device's configuration.
    QTRY_VERIFY_WITH_TIMEOUT(!overlayShown() && item(kCrossoverCell), qx8test::timeoutMs());
    QCOMPARE(m_session.device().command("fault answer-delay=0"), QStringLiteral("ok"));
    const QString applied = caption(kCrossoverCell);
    QVERIFY(applied != before);
    QVERIFY(!m_model->enCfgApply());

    enterConfigMode();
    QVERIFY(!pickNextCrossover().isEmpty());
    QTRY_VERIFY(caption(kCrossoverCell) != applied);
    const int discardFrom = m_session.device().received().size();
    click(QStringLiteral("discardButton"));
    QTRY_VERIFY(!overlayShown() && caption(kCrossoverCell) == applied);
    QCOMPARE(m_model->workingConfig(), m_model->referenceConfig());
    QVERIFY(reconfigurations(discardFrom).isEmpty());
}

void TestConfigScreens::inputRoutedAndDiscarded()
{
    enterConfigMode();
    click(QStringLiteral("cell_in_0_0"));
    click(QStringLiteral("routerSlot_2"));
    click(QStringLiteral("routerSource_7")); // the option card's first input
    QTRY_COMPARE(m_model->getInputRouterSourceName(2), QStringLiteral("OptionCard1"));
    QTRY_COMPARE(waitForItem(QStringLiteral("routerSlot_2"))->property("text").toString(),
                 QStringLiteral("Slot 2: OptionCard1"));
    // Taken by slot 2, the input is no longer offered to slot 1.
    click(QStringLiteral("routerSlot_1"));
    QTRY_VERIFY(item(QStringLiteral("routerSource_8")));
    QVERIFY(!item(QStringLiteral("routerSource_7")));
    click(QStringLiteral("discardButton"));
    QTRY_VERIFY(!overlayShown());
    QCOMPARE(m_model->getInputRouterSourceName(2), QStringLiteral("Analog2"));
}

void TestConfigScreens::rowLinkedIntoABlock()
{
    enterConfigMode();
    QQuickItem* first = waitForItem(QStringLiteral("cell_in_3_0"));
    QVERIFY(first);
    const qreal rowHeight = first->height();
    click(QStringLiteral("cell_in_3_0"));
    QTRY_VERIFY(item(QStringLiteral("unlinkButton")));
    QVERIFY(!item(QStringLiteral("unlinkButton"))->isEnabled());
    click(QStringLiteral("linkButton"));
    // One block over two rows: the second row's cell is gone.
    QTRY_VERIFY(!item(QStringLiteral("cell_in_3_1")) && item(QStringLiteral("cell_in_3_0")) &&
                item(QStringLiteral("cell_in_3_0"))->height() > 1.5 * rowHeight);
    QVERIFY(m_model->enCfgApply());
    click(QStringLiteral("unlinkButton"));
    QTRY_VERIFY(item(QStringLiteral("cell_in_3_1")));
    QVERIFY(!m_model->enCfgApply());
    click(QStringLiteral("closeButton"));
    QTRY_VERIFY(!overlayShown());
}

QStringList TestConfigScreens::checkedInserts() const
{
    QStringList names;
    for (int index = 0; QQuickItem* choice = item(QStringLiteral("insertChoice_%1").arg(index));
         ++index) {
        if (choice->property("checked").toBool())
            names.append(choice->property("text").toString());
    }
    return names;
}

// The insert list marks the block the cell holds, and follows a pick.
void TestConfigScreens::insertPickedAndDiscarded()
{
    enterConfigMode();
    click(QStringLiteral("cell_in_3_0"));
    QTRY_COMPARE(checkedInserts(), QStringList{QStringLiteral("Graphic EQ")});
    int compressor = 0;
    while (item(QStringLiteral("insertChoice_%1").arg(compressor))->property("text") !=
           QStringLiteral("Compressor"))
        ++compressor;
    click(QStringLiteral("insertChoice_%1").arg(compressor));
    QTRY_COMPARE(checkedInserts(), QStringList{QStringLiteral("Compressor")});
    QVERIFY(m_model->enCfgApply());
    click(QStringLiteral("discardButton"));
    QTRY_VERIFY(!overlayShown());
    click(QStringLiteral("configureButton"));
    click(QStringLiteral("cell_in_3_0"));
    QTRY_COMPARE(checkedInserts(), QStringList{QStringLiteral("Graphic EQ")});
    click(QStringLiteral("closeButton"));
    QTRY_VERIFY(!overlayShown());
}

void TestConfigScreens::mixerPickedAndDiscarded()
{
    enterConfigMode();
    click(QStringLiteral("cell_out_0_0"));
    const int current = m_model->getMixerCfgIdx(5, 0);
    QTRY_VERIFY(item(QStringLiteral("mixerChoice_%1").arg(current)));
    QVERIFY(item(QStringLiteral("mixerChoice_%1").arg(current))->property("checked").toBool());
    click(QStringLiteral("mixerChoice_%1").arg(current - 1));
    QTRY_COMPARE(m_model->getMixerCfgIdx(5, 0), current - 1);
    QTRY_VERIFY(
        item(QStringLiteral("mixerChoice_%1").arg(current - 1)) &&
        item(QStringLiteral("mixerChoice_%1").arg(current - 1))->property("checked").toBool());
    click(QStringLiteral("discardButton"));
    QTRY_VERIFY(!overlayShown());
    QCOMPARE(m_model->getMixerCfgIdx(5, 0), current);
}

void TestConfigScreens::refusedOutputName()
{
    enterConfigMode();
    click(QStringLiteral("cell_out_7_2"));
    QQuickItem* setter = waitForItem(QStringLiteral("outputName_3"));
    QVERIFY(setter);
    QVERIFY(QMetaObject::invokeMethod(setter, "startEditing"));
    QQuickItem* field = nullptr;
    for (QQuickItem* child : setter->childItems()) {
        if (child->property("acceptableInput").isValid())
            field = child;
    }
    QVERIFY(field && field->isVisible());
    // The root's name characters only: the field does not take others.
    field->setProperty("text", QStringLiteral("Main <Left>"));
    QVERIFY(!field->property("acceptableInput").toBool());
    field->setProperty("text", QStringLiteral("   "));
    QVERIFY(QMetaObject::invokeMethod(field, "accepted"));
    QTRY_COMPARE(item(QStringLiteral("overlayMessage"))->property("text").toString(),
                 QStringLiteral("An output needs a name."));
    QCOMPARE(m_model->workingConfig(), m_model->referenceConfig());
    QVERIFY(!item(QStringLiteral("applyButton"))->isEnabled());
    click(QStringLiteral("closeButton"));
    QTRY_VERIFY(!overlayShown());
}

void TestConfigScreens::outputNameLeftByTabOrAButton_data()
{
    // Refused, a name left by the menu bar leaves the configuration as it was anyway. The name
    // applied stays the output's: it comes last.
    fieldleaving::addRows({{"emptied", "", "", "An output needs a name."}}, {"tab", "apply"});
    fieldleaving::appendRows({{"a new name", "Sub Right", "Sub Right", ""}},
                             {"tab", "menu bar", "apply"});
}

// An output name typed over and left by Tab, by a click on Apply or by one on the menu bar's
// Home, with no other click before: the name goes into the configuration first, as Enter puts
// it, and Apply then sends it in the same click. An empty name is refused with its reason, and
// Apply sends nothing.
void TestConfigScreens::outputNameLeftByTabOrAButton()
{
    QFETCH(QString, leave);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, refusal);
    settle();
    QString before;
    QQuickItem* field = outputNameField(&before);
    QVERIFY(field);
    QVERIFY(!before.isEmpty() && before != written);
    QQuickView* view = m_session.shell().loader()->view();
    QVERIFY(fieldleaving::typeOver(view, field, typed));
    QPoint at;
    if (leave != QLatin1String("tab")) {
        QQuickItem* button =
            item(leave == QLatin1String("apply") ? QStringLiteral("applyButton")
                                                 : QStringLiteral("menuHomeButton"));
        QVERIFY(button && button->isEnabled());
        at = button->mapToScene(QPointF(button->width() / 2, button->height() / 2)).toPoint();
    }
    const int sent = m_session.device().received().size();
    fieldleaving::leave(view, leave, at);

    if (leave == QLatin1String("apply") && !written.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(reconfigurations(sent).size(), 1, qx8test::timeoutMs());
        QVERIFY2(reconfigurations(sent).first().contains('"' + written + '"'),
                 qPrintable(reconfigurations(sent).first()));
        // The device's answer ends configuration mode.
        QTRY_VERIFY_WITH_TIMEOUT(!m_model->enCfgApply() && !overlayShown(), qx8test::timeoutMs());
        settle();
        return;
    }
    QTRY_COMPARE(shownOutputName(), written.isEmpty() ? before : written);
    QTRY_COMPARE(shownMessage(), refusal);
    QCOMPARE(m_model->enCfgApply(), !written.isEmpty());
    QVERIFY(reconfigurations(sent).isEmpty());
    settle();
    click(m_model->enCfgApply() ? QStringLiteral("discardButton") : QStringLiteral("closeButton"));
    QTRY_VERIFY(!overlayShown());
    QCOMPARE(m_model->workingConfig(), m_model->referenceConfig());
    settle();
}

void TestConfigScreens::outputNameLeftByTheFocus_data()
{
    // Tab is tested with the buttons that leave the field.
    fieldleaving::addRows(
        {
            {"emptied", "", "", "An output needs a name."},
            {"a new name", "Stage Left", "Stage Left", ""},
        },
        {"click"});
}

// An output name typed over and left when a click on the overlay's ground takes the focus: a new
// name goes into the configuration as Enter puts it; an empty one is refused with its reason and
// the output shows its name again.
void TestConfigScreens::outputNameLeftByTheFocus()
{
    QFETCH(QString, leave);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, refusal);
    QString before;
    QQuickItem* field = outputNameField(&before);
    QVERIFY(field);
    QVERIFY(!before.isEmpty() && before != written);

    QQuickView* view = m_session.shell().loader()->view();
    QVERIFY(fieldleaving::typeOver(view, field, typed));
    QCOMPARE(field->property("text").toString(), typed);
    QQuickItem* title = item(QStringLiteral("overlayTitle"));
    const QPointF ground = title->mapToScene(QPointF(title->width() / 2, title->height() / 2));
    fieldleaving::leave(view, leave, ground.toPoint());

    QTRY_COMPARE(shownOutputName(), written.isEmpty() ? before : written);
    QTRY_COMPARE(shownMessage(), refusal);
    QCOMPARE(m_model->enCfgApply(), !written.isEmpty());
    QCOMPARE(m_model->workingConfig() == m_model->referenceConfig(), written.isEmpty());
    click(m_model->enCfgApply() ? QStringLiteral("discardButton") : QStringLiteral("closeButton"));
    QTRY_VERIFY(!overlayShown());
    QCOMPARE(m_model->workingConfig(), m_model->referenceConfig());
}

// The edit a name's Tab makes reloads the page; the keyboard focus is then on the next output's
// name, where Tab had put it, not back at the top of the window.
void TestConfigScreens::tabOutOfANameKeepsItsPlace()
{
    settle();
    QString before;
    QQuickItem* field = outputNameField(&before);
    QVERIFY(field);
    QQuickView* view = m_session.shell().loader()->view();
    QVERIFY(fieldleaving::typeOver(view, field, QStringLiteral("Stage Left")));
    fieldleaving::leave(view, QStringLiteral("tab"), {});
    QTRY_COMPARE(shownOutputName(), QStringLiteral("Stage Left"));
    const auto focusedName = [view] {
        return view->activeFocusItem() ? view->activeFocusItem()->objectName() : QString();
    };
    QTRY_COMPARE(focusedName(), QStringLiteral("outputName_4"));
    QTest::keyClick(view, Qt::Key_Tab);
    QTRY_COMPARE(focusedName(), QStringLiteral("outputName_5"));
    click(QStringLiteral("discardButton"));
    QTRY_VERIFY(!overlayShown());
}

void TestConfigScreens::eqSettingsCopiedOntoAnotherEq()
{
    VirtualProcessor& device = m_session.device();
    QCOMPARE(device.command("set " + kGeqValue.arg("GEQ1") + " \"-9\""), QStringLiteral("ok -9dB"));
    QVERIFY(device.command("value " + kGeqValue.arg("GEQ2")) != QStringLiteral("ok -9dB"));

    // Pressed and held outside configuration mode, a block offers its settings.
    QQuickItem* source = waitForItem(QStringLiteral("cell_in_3_0"));
    QVERIFY(source && QMetaObject::invokeMethod(source, "pressAndHold"));
    click(QStringLiteral("copyItem"));
    QTRY_COMPARE_WITH_TIMEOUT(item(QStringLiteral("notice"))
                                  ? item(QStringLiteral("notice"))->property("visible").toBool()
                                  : false,
                              true, qx8test::timeoutMs());

    QQuickItem* target = item(QStringLiteral("cell_in_3_1"));
    QVERIFY(target && QMetaObject::invokeMethod(target, "pressAndHold"));
    click(QStringLiteral("pasteItem"));
    QTRY_COMPARE_WITH_TIMEOUT(device.command("value " + kGeqValue.arg("GEQ2")),
                              QStringLiteral("ok -9dB"), qx8test::timeoutMs());
}

void TestConfigScreens::clicksBeyondTheListsChangeNothing_data()
{
    QTest::addColumn<QString>("call");
    QTest::newRow("insert choice beyond the list") << "changePO(3, 0, 999)";
    QTest::newRow("mixer choice beyond the list") << "setMixerConfig(5, 1, 999)";
    QTest::newRow("crossover type not in the list") << "setCrossoverConfig(0, 'No Such Type')";
    QTest::newRow("crossover row past the grid") << "setCrossoverConfig(99, 'Mono Fullrange')";
    QTest::newRow("link past the grid") << "link(3, 99)";
    QTest::newRow("output name past the grid") << "setOutputName(99, 'Far')";
    QTest::newRow("router source beyond the list") << "inputRouterSetSource(1, 999)";
}

void TestConfigScreens::clicksBeyondTheListsChangeNothing()
{
    QFETCH(QString, call);
    // A selection kept from a larger grid selects nothing.
    QX8Settings().setValue(settingskeys::kConfigData, QStringLiteral("out:99:0"));
    enterConfigMode();
    QVERIFY(!item(QStringLiteral("overlayCopy")));

    const int sent = m_session.device().received().size();
    QObject* overlay = item(QStringLiteral("configOverlay"));
    // As the overlay's lists call the model.
    QQmlExpression expression(qmlContext(overlay), overlay, "configModel." + call);
    expression.evaluate();
    QVERIFY2(!expression.hasError(), qPrintable(expression.error().toString()));
    QCOMPARE(m_model->workingConfig(), m_model->referenceConfig());
    QVERIFY(!m_model->enCfgApply());
    QVERIFY(m_model->getCfgXoverInfo(999).isEmpty());
    QVERIFY(m_model->cellInfo(QStringLiteral("out"), 99, 99).isEmpty());
    click(QStringLiteral("closeButton"));
    QTRY_VERIFY(!overlayShown());
    QVERIFY(reconfigurations(sent).isEmpty());
}

// Beside the overlay the grid's columns are narrow: every caption still shows whole at the house's
// smallest size (never shrunk to fit), and a block's picture shows at a size that reads or not
// at all (long captions once shrank to 9 px and their pictures to 8 px).
void TestConfigScreens::gridReadsAtFullSize()
{
    enterConfigMode();
    click(kCrossoverCell);
    QVERIFY(waitForItem(QStringLiteral("crossoverList")));
    QVERIFY(m_session.waitForFrame());
    QObject* grid = item(kCrossoverCell);
    QQmlExpression smallest(qmlContext(grid), grid, "Theme.dpY(Theme.fontSmall)");
    QQmlExpression smallestPicture(qmlContext(grid), grid, "Theme.dpY(Theme.pictureMinimum)");
    const qreal fontFloor = smallest.evaluate().toReal() - 0.5;
    const qreal pictureFloor = smallestPicture.evaluate().toReal() - 0.5;

    QList<QQuickItem*> texts;
    int pictures = 0;
    QList<QQuickItem*> shown;
    collectShown(m_session.shell().root(), &shown);
    for (QQuickItem* found : shown) {
        const QString name = found->objectName();
        if (name == QLatin1String("blockCaption") || name == QLatin1String("columnCaption"))
            texts.append(found);
        if (name == QLatin1String("blockPicture")) {
            ++pictures;
            QVERIFY2(found->height() >= pictureFloor, qPrintable(QString::number(found->height())));
        }
    }
    QVERIFY(texts.size() > 40);
    QVERIFY(pictures > 20);
    for (QQuickItem* text : texts) {
        const QString shown = text->property("text").toString();
        QVERIFY2(!text->property("truncated").toBool(), qPrintable(shown));
        // The size the text is drawn at, after any fitting.
        QQmlExpression drawnSize(qmlContext(text), text, "fontInfo.pixelSize");
        QVERIFY2(drawnSize.evaluate().toReal() >= fontFloor, qPrintable(shown));
    }
    click(QStringLiteral("closeButton"));
    QTRY_VERIFY(!overlayShown());
}

// Help shows the picture of the home screen as it is: the configurable grid with its Configure
// button, configuration mode, and the fixed chain once the grid is switched off.
void TestConfigScreens::helpShowsWhatTheHomeScreenShows()
{
    // The picture Help shows, closed again with a click anywhere.
    const auto helpShown = [&] {
        click(QStringLiteral("menuHelpButton"));
        QQuickItem* overlay = item(QStringLiteral("helpOverlay"));
        QQuickItem* picture = overlay ? ShellFixture::visibleItem(overlay, "helpPicture") : nullptr;
        if (!picture ||
            !QTest::qWaitFor([picture] { return picture->property("status").toInt() == 1; }))
            return QString();
        const QString shown = picture->property("source").toUrl().path();
        QTest::mouseClick(overlay->window(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
        return QTest::qWaitFor([overlay] { return !overlay->isVisible(); }) ? shown : QString();
    };
    QTRY_VERIFY(item(QStringLiteral("configureButton")));
    QCOMPARE(helpShown(), QStringLiteral("/images/Help/HomeScreenGrid.jpg"));
    enterConfigMode();
    QCOMPARE(helpShown(), QStringLiteral("/images/Help/HelpConfig.jpg"));
    click(QStringLiteral("closeButton"));
    QTRY_VERIFY(!overlayShown());
    QCOMPARE(helpShown(), QStringLiteral("/images/Help/HomeScreenGrid.jpg"));

    QX8Settings().setValue(settingskeys::kConfigurableHomeScreen, QStringLiteral("false"));
    const auto configurableAgain = qScopeGuard([this] {
        QX8Settings().setValue(settingskeys::kConfigurableHomeScreen, QStringLiteral("true"));
        m_session.open(QStringLiteral("HomeButtonPressed"), QString(),
                       QStringLiteral("QX8HomeScreen.qml"));
    });
    QVERIFY(m_session.open(QStringLiteral("HomeButtonPressed"), QString(),
                           QStringLiteral("QX8HomeScreen.qml")));
    QTRY_VERIFY(item(QStringLiteral("block_Crossover_Low")));
    QCOMPARE(helpShown(), QStringLiteral("/images/Help/HomeScreen.jpg"));
}

QX8_TEST_MAIN(TestConfigScreens)
#include "tst_configscreens.moc"
