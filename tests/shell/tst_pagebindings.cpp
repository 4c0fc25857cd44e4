// Every page of the device model's binding table, loaded in the application as the screen
// loader loads it: each control on it binds a variable of the device model, and one that the
// table gives the page for the value of its selector setting. The rows come from the model, so
// a new page costs a row there and nothing here.
#include "devicemodel.h"
#include "devicemodelprovider.h"
#include "pagesession.h"
#include "qx8control.h"
#include "qx8settings.h"
#include "testmain.h"

#include <QQmlProperty>
#include <QQuickItem>
#include <QSet>
#include <QtTest>

class TestPageBindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pageBindsWhatItsRowSays_data();
    void pageBindsWhatItsRowSays();

private:
    bool loadPage(const QString& page);
    bool inTable(const DeviceModel::Screen& screen, const QString& selector,
                 const QX8Control& control) const;

    ShellFixture m_shell;
    const DeviceModel& m_model = DeviceModel::fromResources();
};

void TestPageBindings::initTestCase()
{
    QVERIFY(!m_model.screens().isEmpty());
    QVERIFY(m_shell.start());
}

void TestPageBindings::pageBindsWhatItsRowSays_data()
{
    addPageRows(m_model, [](const DeviceModel::Screen& screen) { return !screen.everyPage; });
}

void TestPageBindings::pageBindsWhatItsRowSays()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    const DeviceModel::Screen& screen = *m_model.screen(page);
    if (!screen.selectorKey.isEmpty())
        QX8Settings().setValue(screen.selectorKey, selector);
    QList<QX8Control*> controls;
    if (page == QLatin1String("main.qml")) {
        // The window's own controls: everything but the page in the loader.
        QSet<QObject*> pageObjects;
        pageObjects.insert(m_shell.pageItem());
        controls = boundControlsUnder(m_shell.root(), pageObjects);
    } else {
        QVERIFY(loadPage(page));
        controls = boundControlsUnder(m_shell.pageItem());
    }
    const DeviceModelProvider provider;
    for (const QX8Control* control : controls) {
        const QString names = control->poName() + " | " + control->svName();
        QVERIFY2(provider.contains(control->poName(), control->svName()),
                 qPrintable(names + ": not a variable of the device model"));
        QVERIFY2(inTable(screen, selector, *control),
                 qPrintable(names + ": not in the binding table of " + page));
    }
}

bool TestPageBindings::loadPage(const QString& page)
{
    QMetaObject::invokeMethod(m_shell.root(), "pageLoadSlot",
                              Q_ARG(QVariant, QStringLiteral("qrc:/qml/") + page),
                              Q_ARG(QVariant, QString()));
    ShellFixture::settle();
    QObject* loader = m_shell.root()->findChild<QObject*>(QStringLiteral("pageLoader"));
    return m_shell.pageItem() &&
           QQmlProperty::read(loader, QStringLiteral("source")).toString().endsWith(page);
}

// In the page's own row, or in the row of a component on every page (the menu bar).
bool TestPageBindings::inTable(const DeviceModel::Screen& screen, const QString& selector,
                               const QX8Control& control) const
{
    if (screen.binds(selector, control.poName(), control.svName()))
        return true;
    for (const DeviceModel::Screen& shared : m_model.screens()) {
        if (shared.everyPage && shared.binds(QString(), control.poName(), control.svName()))
            return true;
    }
    return false;
}

QX8_TEST_MAIN(TestPageBindings)
#include "tst_pagebindings.moc"
