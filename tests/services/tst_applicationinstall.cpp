// The hand-over of a downloaded application image to the operating system, in a program of its
// own because it ends the application: the system's opener is a URL handler registered for
// "file", so nothing is opened for real.
#include "applicationupdater.h"
#include "testmain.h"
#include "updatecloud.h"

#include <QDesktopServices>
#include <QtTest>

class OpenedUrls : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

class TestApplicationInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void missingImageIsReportedNotOpened();
    void installOpensTheImageAndQuits();

private:
    UpdateCloud m_cloud;
    OpenedUrls m_opened;
};

void TestApplicationInstall::initTestCase()
{
    QVERIFY(m_cloud.start());
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_opened, "open");
}

void TestApplicationInstall::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void TestApplicationInstall::missingImageIsReportedNotOpened()
{
    ApplicationUpdater updater;
    updater.setUpdateState(ApplicationUpdater::InstallUpdate);
    QSignalSpy error(&updater, &ApplicationUpdater::error);
    qx8test::expectWarnings("^No downloaded image to install");
    updater.installUpdate();
    QTRY_COMPARE(error.count(), 1);
    QCOMPARE(updater.updateState(), ApplicationUpdater::CheckForUpdate);
    QVERIFY(m_opened.urls.isEmpty());
}

void TestApplicationInstall::installOpensTheImageAndQuits()
{
    ApplicationUpdater updater;
    updater.checkForUpdate();
    QTRY_COMPARE(updater.updateState(), ApplicationUpdater::DownloadUpdate);
    updater.downLoadUpdate();
    QTRY_COMPARE(updater.updateState(), ApplicationUpdater::InstallUpdate);
    updater.installUpdate();
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(m_opened.urls, QList<QUrl>{QUrl::fromLocalFile(updater.cacheFolder() + "/1.1.7.dmg")});
}

QX8_TEST_MAIN(TestApplicationInstall)
#include "tst_applicationinstall.moc"
