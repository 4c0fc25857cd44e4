// The tuning screen of the running application, driven through its buttons against a device's
// FTP storage: it lists the groups, a row's button chooses an action, Apply carries it out and
// the screen lists the device afresh. QX8_SCREENSHOT_DIR, when set, receives a picture of it.
#include "shellfixture.h"
#include "testharness.h"
#include "testmain.h"
#include "tuningfilemanager.h"
#include "tuningfixture.h"
#include "viewloader.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QtTest>

class TestTuningScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void applyThroughTheButtons();

private:
    QQuickItem* item(const QString& name) const
    {
        return ShellFixture::visibleItem(m_shell.root(), name);
    }
    bool waitingDialogShown() const;
    void click(const QString& name);

    ShellFixture m_shell;
};

bool TestTuningScreen::waitingDialogShown() const
{
    QObject* dialog = m_shell.root()->findChild<QObject*>("waitingDialog");
    return dialog && dialog->property("visible").toBool();
}

void TestTuningScreen::click(const QString& name)
{
    QQuickItem* button = item(name);
    QVERIFY2(button && button->isEnabled(), qPrintable(name));
    QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
}

void TestTuningScreen::applyThroughTheButtons()
{
    TuningDevice device;
    QVERIFY(device.seed());
    QVERIFY(device.start());
    QVERIFY(m_shell.start());
    m_shell.root()->setProperty("startUpScreenVisible", false);
    QSettings("Velmor", "QX8Control").setValue("Data/CurrentDeviceAddress", device.address());
    ShellFixture::settle();
    using S = ViewLoader::Screen;
    for (const auto& step : {qMakePair(QStringLiteral("HomeButtonPressed"), S::HomeScreen),
                             qMakePair(QStringLiteral("Wizard"), S::Wizard),
                             qMakePair(QStringLiteral("ManageTunings"), S::ManageTunings)}) {
        m_shell.guiSignal(step.first);
        QTRY_VERIFY(m_shell.loader()->isActive(step.second));
    }
    QTRY_VERIFY(m_shell.pageItem() &&
                m_shell.pageItem()->objectName() == QLatin1String("manageTuningsPage"));
    QTRY_VERIFY_WITH_TIMEOUT(!waitingDialogShown() && item("tuningRow"), qx8test::timeoutMs());
    QVERIFY(item("brandList")->property("count").toInt() > 3);
    m_shell.screenshot("managetunings.png");

    QVERIFY(!item("applyButton")->isEnabled());
    click("addRemoveButton");
    QTRY_VERIFY(item("applyButton")->isEnabled());
    const int before = device.commandLog().size();
    click("applyButton");
    QTRY_VERIFY_WITH_TIMEOUT(device.commandLog().mid(before).join('\n').contains(QRegularExpression(
                                 "^(STOR|DELE) ", QRegularExpression::MultilineOption)),
                             qx8test::timeoutMs());
    // After the apply the screen reconnects and lists the device again.
    QTRY_VERIFY_WITH_TIMEOUT(device.commandLog().mid(before).filter("USER ").size() == 1 &&
                                 !waitingDialogShown() && item("tuningRow"),
                             qx8test::timeoutMs());
    QTRY_VERIFY(!item("applyButton")->isEnabled());
    m_shell.screenshot("managetunings-applied.png");
    TuningFileManager::instance()->shutdown();
}

QX8_TEST_MAIN(TestTuningScreen)
#include "tst_tuningscreen.moc"
