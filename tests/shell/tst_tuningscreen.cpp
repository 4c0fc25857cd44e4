// The tuning screen of the running application, driven through its buttons against a device's
// FTP storage and a cloud (the harness HTTP server): it lists the groups, a row's button chooses
// an action that a brand filter leaves pending, Apply carries it out and the screen lists the
// device afresh; each operation ends with what it did, and a failure's own text stays on the
// screen, also when the device's storage cannot be reached. QX8_SCREENSHOT_DIR, when set,
// receives pictures of it.
#include "httpserverprocess.h"
#include "shellfixture.h"
#include "testharness.h"
#include "testmain.h"
#include "tuningfilelistmodel.h"
#include "tuningfilemanager.h"
#include "tuningfixture.h"
#include "viewloader.h"

#include <QDir>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestTuningScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void filterLeavesTheChoicePending();
    void applyThroughTheButtons();
    void cloudUpdateSaysWhatItDid_data();
    void cloudUpdateSaysWhatItDid();
    void unreachableStorageSaysWhy();

private:
    QQuickItem* item(const QString& name) const
    {
        return ShellFixture::visibleItem(m_shell.root(), name);
    }
    // The brand and series of the first row shown.
    QString firstRow() const
    {
        QQuickItem* row = item("tuningRow");
        return row ? QQmlProperty::read(ShellFixture::visibleItem(row, "brandSeries"), "text")
                         .toString()
                   : QString();
    }
    bool waitingDialogShown() const;
    // The text of the waiting dialog while it shows, else empty.
    QString progress() const;
    // The text of the message dialog while it shows, else empty.
    QString message() const;
    void click(const QString& name);
    void clickBrand(const QString& brand);
    void acceptMessage();
    // Clicks `button` and waits for the end of the operation it starts; true when it ended well.
    bool operationOf(const QString& button);

    TuningDevice m_device;
    QTemporaryDir m_cloudFolder;
    HttpServerProcess m_cloud;
    ShellFixture m_shell;
    TuningFileListModel* m_model = nullptr;
};

void TestTuningScreen::initTestCase()
{
    QVERIFY(m_device.seed());
    QVERIFY(m_device.start());
    const QString speakers = m_cloudFolder.filePath("sp-speaker-tunings/");
    QVERIFY(QDir().mkpath(speakers) && QDir().mkpath(m_cloudFolder.filePath("sp-amplifier-data")));
    for (const auto& [path, content] :
         {qMakePair(speakers + "Manifest", QByteArray("Cloud_New_One_2022_1_1_1_1.hdf\n")),
          qMakePair(speakers + "Cloud_New_One_2022_1_1_1_1.hdf", QByteArray("cloud tuning")),
          qMakePair(m_cloudFolder.filePath("sp-amplifier-data/Manifest"), QByteArray())}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    QVERIFY(m_cloud.start(m_cloudFolder.path()));
    qputenv("QX8_CLOUD_BASE_URL", m_cloud.url("/").toString().toUtf8());

    QVERIFY(m_shell.start());
    m_shell.root()->setProperty("startUpScreenVisible", false);
    QQuickView* view = m_shell.loader()->view();
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
    QSettings("Velmor", "QX8Control").setValue("Data/CurrentDeviceAddress", m_device.address());
    ShellFixture::settle();
    QSignalSpy listed(TuningFileManager::instance(), &TuningFileManager::initialized);
    using S = ViewLoader::Screen;
    for (const auto& step : {qMakePair(QStringLiteral("HomeButtonPressed"), S::HomeScreen),
                             qMakePair(QStringLiteral("Wizard"), S::Wizard),
                             qMakePair(QStringLiteral("ManageTunings"), S::ManageTunings)}) {
        m_shell.guiSignal(step.first);
        QTRY_VERIFY(m_shell.loader()->isActive(step.second));
    }
    QTRY_VERIFY(m_shell.pageItem() &&
                m_shell.pageItem()->objectName() == QLatin1String("manageTuningsPage"));
    m_model = m_shell.pageItem()->findChild<TuningFileListModel*>();
    QVERIFY(m_model);
    QTRY_VERIFY_WITH_TIMEOUT(!listed.isEmpty(), 2 * qx8test::timeoutMs());
    QVERIFY(listed.first().first().toBool());
    QTRY_VERIFY(!waitingDialogShown() && item("tuningRow"));
    QVERIFY(item("brandList")->property("count").toInt() > 3);
    m_shell.screenshot("managetunings.png");
}

void TestTuningScreen::cleanupTestCase()
{
    TuningFileManager::instance()->shutdown();
}

bool TestTuningScreen::waitingDialogShown() const
{
    QObject* dialog = m_shell.root()->findChild<QObject*>("waitingDialog");
    return dialog && dialog->property("visible").toBool();
}

QString TestTuningScreen::progress() const
{
    QObject* dialog = m_shell.root()->findChild<QObject*>("waitingDialog");
    return dialog && dialog->property("visible").toBool() ? dialog->property("message").toString()
                                                          : QString();
}

QString TestTuningScreen::message() const
{
    QObject* dialog = m_shell.root()->findChild<QObject*>("messageDialog");
    return dialog && dialog->property("visible").toBool() ? dialog->property("message").toString()
                                                          : QString();
}

void TestTuningScreen::click(const QString& name)
{
    QQuickItem* button = item(name);
    QVERIFY2(button && button->isEnabled(), qPrintable(name));
    QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
}

void TestTuningScreen::clickBrand(const QString& brand)
{
    QQuickItem* row = nullptr;
    QQuickItem* list = item("brandList")->property("contentItem").value<QQuickItem*>();
    for (QQuickItem* candidate : list->childItems()) {
        for (QQuickItem* child : candidate->childItems()) {
            if (candidate->objectName() == QLatin1String("brandRow") &&
                child->property("text").toString() == brand)
                row = candidate;
        }
    }
    QVERIFY2(row, qPrintable(brand));
    const QPointF centre = row->mapToScene(QPointF(row->width() / 2, row->height() / 2));
    QTest::mouseClick(m_shell.loader()->view(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void TestTuningScreen::acceptMessage()
{
    QQuickItem* dialog = item("messageDialog");
    QVERIFY(dialog);
    QQuickItem* ok = ShellFixture::visibleItem(dialog, "dialogOkButton");
    QVERIFY(ok);
    QVERIFY(QMetaObject::invokeMethod(ok, "clicked"));
    QTRY_VERIFY(message().isEmpty());
}

bool TestTuningScreen::operationOf(const QString& button)
{
    QSignalSpy ended(m_model, &TuningFileListModel::initialized);
    click(button);
    return QTest::qWaitFor([&] { return !ended.isEmpty(); }, 3 * qx8test::timeoutMs()) &&
           ended.last().first().toBool();
}

// A choice stays while another brand is shown, and its row shows it again afterwards.
void TestTuningScreen::filterLeavesTheChoicePending()
{
    QVERIFY(!item("applyButton")->isEnabled());
    const QString chosenRow = firstRow();
    click("addRemoveButton");
    QTRY_VERIFY(item("applyButton")->isEnabled());
    const QString chosen = QQmlProperty::read(item("tuningRow"), "chosen").toString();
    QVERIFY(chosen != QLatin1String("No Change"));

    const QString otherBrand = chosenRow.startsWith("Wuvo") ? "Morla" : "Wuvo";
    clickBrand(otherBrand);
    QTRY_COMPARE(m_model->brandFilter(), otherBrand);
    QTRY_VERIFY(firstRow() != chosenRow);
    QVERIFY(item("applyButton")->isEnabled() && item("cancelButton")->isEnabled());
    m_shell.screenshot("managetunings-filtered.png");

    clickBrand(QStringLiteral("Show All"));
    QTRY_COMPARE(firstRow(), chosenRow);
    QCOMPARE(QQmlProperty::read(item("tuningRow"), "chosen").toString(), chosen);
    QVERIFY(item("applyButton")->isEnabled());
    click("cancelButton");
    QTRY_VERIFY(!item("applyButton")->isEnabled());
    QCOMPARE(QQmlProperty::read(item("tuningRow"), "chosen").toString(),
             QStringLiteral("No Change"));
}

void TestTuningScreen::applyThroughTheButtons()
{
    click("addRemoveButton");
    QTRY_VERIFY(item("applyButton")->isEnabled());
    const int before = m_device.commandLog().size();
    QVERIFY(operationOf("applyButton"));
    QVERIFY(m_device.commandLog().mid(before).join('\n').contains(
        QRegularExpression("^(STOR|DELE) ", QRegularExpression::MultilineOption)));
    // After the apply the screen reconnects and lists the device again, then says so.
    QCOMPARE(m_device.commandLog().mid(before).filter("USER ").size(), 1);
    QTRY_COMPARE(message(), QStringLiteral("Changes applied to the Spandrell QX8."));
    QVERIFY(!waitingDialogShown() && item("tuningRow"));
    QVERIFY(!item("applyButton")->isEnabled());
    m_shell.screenshot("managetunings-applied.png");
    acceptMessage();
}

// What the cloud update says while it runs and when it ends; a failure's own text is not
// replaced by the operation's end.
void TestTuningScreen::cloudUpdateSaysWhatItDid_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QString>("said");
    QTest::newRow("manifest missing")
        << "404" << false
        << "Failed to connect to update server. Please check your internet connection and try "
           "again.";
    QTest::newRow("a new tuning") << "off" << true << "Tunings updated from the cloud.";
    QTest::newRow("nothing new") << "off" << true << "The tunings are up to date.";
}

void TestTuningScreen::cloudUpdateSaysWhatItDid()
{
    QFETCH(QString, fault);
    QFETCH(bool, success);
    QFETCH(QString, said);
    QVERIFY(m_cloud.setFault("/sp-amplifier-data/Manifest", fault));
    if (!success) {
        qx8test::expectWarnings("^Failed to download .*/Manifest");
        qx8test::expectWarnings("^Cloud manifest not downloaded: ");
    }
    const QString manifest = QStringLiteral("/sp-speaker-tunings/Manifest");
    QVERIFY(m_cloud.setFault(manifest, "hold"));
    QSignalSpy ended(m_model, &TuningFileListModel::initialized);
    click("cloudButton");
    QTRY_COMPARE(progress(), QStringLiteral("Checking for updates..."));
    m_shell.screenshot("managetunings-cloud-checking.png");
    QVERIFY(m_cloud.setFault(manifest, "off"));
    QVERIFY(QTest::qWaitFor([&] { return !ended.isEmpty(); }, 3 * qx8test::timeoutMs()));
    QCOMPARE(ended.first().first().toBool(), success);
    QTRY_VERIFY(!waitingDialogShown());
    QTRY_COMPARE(message(), said);
    m_shell.screenshot(QStringLiteral("managetunings-cloud-%1.png")
                           .arg(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-')));
    acceptMessage();
}

// The screen opened while nothing answers on the device's FTP port says what went wrong there,
// and its empty list goes on saying it.
void TestTuningScreen::unreachableStorageSaysWhy()
{
    m_device.stop();
    const auto reopen = [this] {
        QMetaObject::invokeMethod(m_shell.root(), "pageLoadSlot",
                                  Q_ARG(QVariant, QStringLiteral("qrc:/qml/ManageTunings.qml")),
                                  Q_ARG(QVariant, QString()));
    };
    reopen();
    QTRY_VERIFY_WITH_TIMEOUT(!message().isEmpty(), 2 * qx8test::timeoutMs());
    QCOMPARE(message(), "The tunings on the Spandrell QX8 could not be read.\nConnection failed: "
                        "Connection refused to host " +
                            m_device.address());
    QVERIFY(!waitingDialogShown() && !item("tuningRow"));
    m_shell.screenshot("managetunings-unreachable.png");
    const QString said = message();
    acceptMessage();
    // The empty list keeps saying why.
    QQuickItem* why = item("emptyListText");
    QVERIFY(why);
    QCOMPARE(why->property("text").toString(), said);
    m_shell.screenshot("managetunings-unreachable-list.png");

    QVERIFY(m_device.restart());
    reopen();
    QTRY_VERIFY_WITH_TIMEOUT(!waitingDialogShown() && item("tuningRow"), 2 * qx8test::timeoutMs());
    m_model = m_shell.pageItem()->findChild<TuningFileListModel*>();
}

QX8_TEST_MAIN(TestTuningScreen)
#include "tst_tuningscreen.moc"
