// The presets screen of the running application, driven through its buttons and dialogs against
// VirtualQX8 and its FTP server: a slot saved to this computer and sent into another slot,
// store and recall, the local copy, rename and delete, and a device whose FTP server stops in
// the middle of a transfer. QX8_SCREENSHOT_DIR, when set, receives pictures of it.
#include "datafolders.h"
#include "ftptestsupport.h"
#include "knownvalueswatch.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "shellfixture.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"
#include "virtualprocessor.h"

#include <QDir>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>

namespace {

QQuickItem* findItem(QQuickItem* from, const QString& objectName, const QString& name = {})
{
    if (from->objectName() == objectName && from->isVisible() &&
        (name.isNull() || from->property("name").toString() == name))
        return from;
    for (QQuickItem* child : from->childItems()) {
        if (QQuickItem* found = findItem(child, objectName, name))
            return found;
    }
    return nullptr;
}

} // namespace

class TestPresetScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void slotToComputerAndBack();
    void buttonLabelsAreWhole_data();
    void buttonLabelsAreWhole();
    void storeAndRecall();
    void localCopyRenameAndDelete();
    void ftpServerStopsMidTransfer();
    void slotsWaitForTheirNames();
    void cleanupTestCase();

private:
    QQuickItem* item(const QString& name, const QString& rowName = {}) const
    {
        return findItem(m_shell.root(), name, rowName);
    }
    QQuickItem* dialog(const QString& name) const;
    void click(QQuickItem* button);
    void click(const QString& name, const QString& rowName = {}) { click(item(name, rowName)); }
    // Types `text` into the open name dialog (when not null) and confirms the open dialog.
    void answer(const QString& dialogName, const QString& text = {});
    QString slotName(int slot) const
    {
        return item(QStringLiteral("slotRow%1").arg(slot))->property("name").toString();
    }
    QString localFile(const QString& name) const { return m_localFolder + '/' + name; }
    QString deviceFile(int slot) const
    {
        return m_device.storagePath() + QStringLiteral("/presets/Preset_%1.preset").arg(slot);
    }
    bool waitingShown() const { return dialog("waitingDialog")->isVisible(); }

    VirtualProcessor m_device;
    ShellFixture m_shell;
    QString m_localFolder;
};

QQuickItem* TestPresetScreen::dialog(const QString& name) const
{
    return m_shell.root()->findChild<QQuickItem*>(name);
}

void TestPresetScreen::click(QQuickItem* button)
{
    QVERIFY(button && button->isEnabled());
    QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
}

void TestPresetScreen::answer(const QString& dialogName, const QString& text)
{
    QQuickItem* box = dialog(dialogName);
    QTRY_VERIFY(box->isVisible());
    if (!text.isNull())
        QVERIFY(findItem(box, "dialogTextField")->setProperty("text", text));
    click(findItem(box, "dialogOkButton"));
}

void TestPresetScreen::initTestCase()
{
    // Slow enough to stop the server in the middle of a 1 MiB transfer.
    QVERIFY(m_device.start({"--ftp-port", "21", "--ftp-rate", "524288"}));
    QVERIFY(m_shell.start());
    m_shell.root()->setProperty("startUpScreenVisible", false);
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, m_device.address());
    QX8Settings().setValue(settingskeys::kCurrentDevicePassword, "quillrampstow");
    TCPAdaptor::instance()->doConnect();
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
    // The device's first report of its current preset sends the window home: let it come first.
    QTRY_VERIFY_WITH_TIMEOUT(!m_shell.root()->property("lastPresetName").toString().isEmpty(),
                             qx8test::timeoutMs());
    m_shell.guiSignal("Presets");
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.pageItem() &&
                                 m_shell.pageItem()->objectName() == QLatin1String("presetsPage"),
                             qx8test::timeoutMs());
    QTRY_COMPARE(slotName(2), QStringLiteral("Speech"));
    QCOMPARE(m_shell.root()->property("lastScreen").toString(), QStringLiteral("Preset"));
    m_localFolder = QString::fromStdString(USER_PATH) + QStringLiteral("/QX8/Presets");
}

void TestPresetScreen::slotToComputerAndBack()
{
    click("slotRow2");
    click("fetchButton");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(localFile("Speech")), qx8test::timeoutMs());
    QCOMPARE(qx8test::fileContent(localFile("Speech")), qx8test::fileContent(deviceFile(2)));
    QTRY_VERIFY(item("fileRow", "Speech") && !waitingShown());

    click("fileRow", "Speech");
    click("slotRow9");
    click("sendButton");
    answer("confirmDialog");
    QTRY_COMPARE_WITH_TIMEOUT(slotName(9), QStringLiteral("Speech"), qx8test::timeoutMs());
    QCOMPARE(qx8test::fileContent(deviceFile(9)), qx8test::fileContent(localFile("Speech")));
    QTRY_VERIFY(!waitingShown());
    m_shell.screenshot("presets.png");
}

// Every button says all of its label, the longest ones too, in the window as it opens and
// maximised on a large screen.
void TestPresetScreen::buttonLabelsAreWhole_data()
{
    QTest::addColumn<QSize>("window");
    QTest::newRow("1024 x 768") << QSize(1024, 768);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080);
}

void TestPresetScreen::buttonLabelsAreWhole()
{
    QFETCH(QSize, window);
    // The window follows its root item here (no desktop platform).
    QQuickItem* root = m_shell.root();
    const QSizeF opened = root->size();
    root->setSize(window);
    click("slotRow100");
    click("fileRow", "Speech");
    QTRY_COMPARE(item("sendButton")->property("text").toString(),
                 QStringLiteral("Send to preset 100"));
    ShellFixture::settle();
    for (const char* button : {"recallButton", "storeButton", "renameSlotButton", "fetchButton",
                               "sendButton", "copyButton", "renameFileButton", "deleteButton"}) {
        QObject* label = item(button)->property("contentItem").value<QObject*>();
        QVERIFY2(label && !label->property("truncated").toBool(),
                 qPrintable(QString("%1: %2").arg(button, label->property("text").toString())));
    }
    root->setSize(opened);
    click("slotRow9");
}

void TestPresetScreen::storeAndRecall()
{
    click("slotRow5");
    click("storeButton");
    answer("nameDialog", "Intro");
    QTRY_COMPARE(slotName(5), QStringLiteral("Intro"));
    QVERIFY(m_device.waitForReceived(R"(set "\\Storage\Presets\SV\Store\" "5")"));

    QCOMPARE(m_device.command(R"(set \\Storage\Presets\SV\CurrentPreset\ Other)"),
             QStringLiteral("ok Other"));
    click("recallButton");
    answer("confirmDialog");
    QVERIFY(m_device.waitForReceived(R"(set "\\Storage\Presets\SV\Recall\" "5")"));
    QTRY_COMPARE(item("currentPresetName")->property("text").toString(), QStringLiteral("Intro"));
    QCOMPARE(m_shell.root()->property("lastPresetName").toString(), QStringLiteral("Intro"));
    QVERIFY(m_shell.loader()->isActive(ViewLoader::Presets)); // a recall here stays here
}

void TestPresetScreen::localCopyRenameAndDelete()
{
    click("fileRow", "Speech");
    click("copyButton");
    QCOMPARE(findItem(dialog("nameDialog"), "dialogTextField")->property("text").toString(),
             QStringLiteral("Speech 2"));
    answer("nameDialog");
    QTRY_VERIFY(item("fileRow", "Speech 2"));
    QCOMPARE(qx8test::fileContent(localFile("Speech 2")),
             qx8test::fileContent(localFile("Speech")));

    click("fileRow", "Speech 2");
    click("renameFileButton");
    answer("nameDialog", "Speech"); // taken: said so, nothing renamed
    answer("messageDialog");
    click("renameFileButton");
    answer("nameDialog", "Encore");
    QTRY_VERIFY(item("fileRow", "Encore"));
    QVERIFY(!QFile::exists(localFile("Speech 2")));

    click("fileRow", "Encore");
    click("deleteButton");
    answer("confirmDialog");
    QTRY_VERIFY(!item("fileRow", "Encore"));
    QCOMPARE(QDir(m_localFolder).entryList(QDir::Files | QDir::Hidden), QStringList({"Speech"}));
}

void TestPresetScreen::ftpServerStopsMidTransfer()
{
    const QByteArray big = ftptest::pattern(1024 * 1024);
    QVERIFY(ftptest::writeFile(deviceFile(20), big));
    QCOMPARE(m_device.command(R"(set \\Storage\Presets\SV\Name_20\ Big)"),
             QStringLiteral("ok Big"));
    QTRY_COMPARE(slotName(20), QStringLiteral("Big"));
    click("slotRow20");
    click("fetchButton");
    QTRY_VERIFY(m_device.ftpCommands().contains("RETR Preset_20.preset") && waitingShown());
    QCOMPARE(m_device.command("ftp stop"), QStringLiteral("ok"));
    QTRY_VERIFY_WITH_TIMEOUT(dialog("messageDialog")->isVisible(), qx8test::timeoutMs());
    QVERIFY(!waitingShown());
    // The session's prefix names the failed step; the client's own line naming it is left out.
    QCOMPARE(dialog("messageDialog")->property("message").toString(),
             "File download failed: Connection closed by host " + m_device.address());
    m_shell.screenshot("presets-error.png");
    QCOMPARE(QDir(m_localFolder).entryList(QDir::Files | QDir::Hidden), QStringList({"Speech"}));
    answer("messageDialog");

    // The next transfer opens the session again.
    QCOMPARE(m_device.command("ftp start"), QStringLiteral("ok"));
    click("fetchButton");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(localFile("Big")), qx8test::timeoutMs());
    QCOMPARE(qx8test::fileContent(localFile("Big")), big);
}

// Over a slow link a slot shows the dimmed dash until the device has told its name, and a click
// on it selects nothing (an empty-looking slot would be stored over without naming what it
// held); then it shows its name, or "empty", and takes the click. The current preset's name
// shows the dash too until it comes.
void TestPresetScreen::slotsWaitForTheirNames()
{
    m_shell.guiSignal(QStringLiteral("HomeButtonPressed"));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
    const SlowConsole slow(m_device);
    QVERIFY(slow.isSlow());
    m_shell.guiSignal(QStringLiteral("Presets"));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.pageItem() &&
                                 m_shell.pageItem()->objectName() == QLatin1String("presetsPage"),
                             qx8test::timeoutMs());
    QList<QQuickItem*> rows;
    for (int slot = 1; slot <= 100; ++slot)
        rows << item(QStringLiteral("slotRow%1").arg(slot));
    QVERIFY(!rows.contains(nullptr));
    QQuickItem* third = rows.at(2);
    QVERIFY2(!KnownValuesWatch::backendKnows(third), "the name came first");
    const QString dash = QStringLiteral("\u2013");
    QCOMPARE(item("currentPresetName")->property("text").toString(), dash);
    m_shell.screenshot("presets-unknown.png");
    QQuickWindow* window = m_shell.loader()->view();
    const QPoint centre =
        third->mapToScene(QPointF(third->width() / 2, third->height() / 2)).toPoint();
    QTest::mouseClick(window, Qt::LeftButton, {}, centre);

    const auto slotShown = [&dash](QQuickItem* row, bool known) {
        const QString shown = findItem(row, "presetRowName")->property("text").toString();
        const QString name = row->property("name").toString();
        const bool right =
            known ? row->isEnabled() && shown == (name.isEmpty() ? QStringLiteral("empty") : name)
                  : !row->isEnabled() && !row->property("selected").toBool() && shown == dash;
        return right
                   ? QString()
                   : QStringLiteral("%1 shows \"%2\"%3")
                         .arg(row->objectName(), shown, row->isEnabled() ? ", taking a click" : "");
    };
    KnownValuesWatch watch;
    QVERIFY2(watch.untilKnown([&] { return rows; }, slotShown), qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);
    QVERIFY(!item("storeButton")->isEnabled());
    QTRY_VERIFY(item("currentPresetName")->property("text").toString() != dash);

    QTest::mouseClick(window, Qt::LeftButton, {}, centre);
    QTRY_VERIFY(third->property("selected").toBool());
    QVERIFY(item("storeButton")->isEnabled());
}

void TestPresetScreen::cleanupTestCase()
{
    TCPAdaptor::instance()->doDisconnect();
}

QX8_TEST_MAIN(TestPresetScreen)
#include "tst_presetscreen.moc"
