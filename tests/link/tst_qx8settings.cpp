// The settings store on disk: a write that changes nothing leaves the file alone, since every
// write replaces the whole file (a new inode) and flushes it; the file, which holds the device
// password, is its owner's alone; and a write that cannot reach a read-only disk is reported.
#include "privatemounts.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <sys/stat.h>

namespace {
QString storeFile()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromLatin1(settingskeys::kApplicationStore.organization),
                     QString::fromLatin1(settingskeys::kApplicationStore.application))
        .fileName();
}

struct stat statusOfStore()
{
    struct stat status
    {
    };
    ::stat(QFile::encodeName(storeFile()).constData(), &status);
    return status;
}
} // namespace

class TestQX8Settings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesOnlyChanges_data()
    {
        QTest::addColumn<QVariant>("second");
        QTest::addColumn<bool>("rewritten");
        QTest::newRow("same text") << QVariant(QStringLiteral("false")) << false;
        QTest::newRow("other text") << QVariant(QStringLiteral("true")) << true;
        // Kept with its type: a reader in this process sees what it wrote.
        QTest::newRow("same text, other type") << QVariant(false) << true;
    }

    void writesOnlyChanges()
    {
        QFETCH(QVariant, second);
        QFETCH(bool, rewritten);
        QX8Settings settings;
        settings.clear();
        settings.setValue(QStringLiteral("Data/flag"), QStringLiteral("false"));
        const ino_t before = statusOfStore().st_ino;
        QVERIFY(before != 0);
        settings.setValue(QStringLiteral("Data/flag"), second);
        QCOMPARE(statusOfStore().st_ino != before, rewritten);
        QCOMPARE(QX8Settings().value(QStringLiteral("Data/flag")), second);
    }

    // Made owner-only, kept so through rewrites, and narrowed again when someone widened it.
    void storeIsOwnerOnly()
    {
        QFile::remove(storeFile());
        QX8Settings settings;
        settings.setValue(settingskeys::kCurrentDevicePassword, QStringLiteral("quillrampstow"));
        QCOMPARE(statusOfStore().st_mode & 0777, mode_t(0600));
        const ino_t first = statusOfStore().st_ino;
        settings.setValue(settingskeys::kCurrentDevicePassword, QStringLiteral("other"));
        QVERIFY(statusOfStore().st_ino != first);
        QCOMPARE(statusOfStore().st_mode & 0777, mode_t(0600));

        QVERIFY(::chmod(QFile::encodeName(storeFile()).constData(), 0644) == 0);
        settings.remove(settingskeys::kCurrentDevicePassword);
        QCOMPARE(statusOfStore().st_mode & 0777, mode_t(0600));
    }

    // Values Qt would deserialize, as another program or a hand may leave them (here a list
    // that claims two billion entries, in every spelling Qt reads), leave the file before Qt
    // reads it; the application's own values stay, a text that starts with '@' among them.
    void serializedValuesAreTakenOutFirst()
    {
        const QString fileName = storeFile();
        const QByteArray hugeList = R"(\0\0\0\t\x7f\xff\xff\xff)";
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[General]\nCurrentVersion=1.1.4\n"
                   "Plain=@Variant(" +
                   hugeList +
                   ")\n"
                   "Escaped=\\x40Variant(" +
                   hugeList +
                   ")\n"
                   "Octal=\\100Variant(" +
                   hugeList +
                   ")\n"
                   "Quoted=\"@DateTime(" +
                   hugeList +
                   ")\"\n"
                   "Listed=a, @Variant(" +
                   hugeList +
                   ")\n"
                   "Continued=@Vari\\\nant(" +
                   hugeList +
                   ")\n"
                   "Literal=@@Variant(text)\n\n"
                   "[Data]\nCurrentDevicePassword=p@ss\n"
                   "CurrentPOData=\"{\\\"Name\\\":\\\"PEQ\\\"}\"\n");
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));

        qx8test::expectWarnings("^Settings file .*QX8Control.conf held 6 entries the "
                                "application does not write, now removed:");
        QX8Settings settings;
        QCOMPARE(settings.value(settingskeys::kCurrentVersion), QVariant("1.1.4"));
        for (const char* key : {"Plain", "Escaped", "Octal", "Quoted", "Listed", "Continued"})
            QVERIFY2(!settings.contains(QLatin1String(key)), key);
        QCOMPARE(settings.value(QStringLiteral("Literal")), QVariant("@Variant(text)"));
        QCOMPARE(settings.value(settingskeys::kCurrentDevicePassword), QVariant("p@ss"));
        QCOMPARE(settings.value(settingskeys::kCurrentPoData), QVariant(R"({"Name":"PEQ"})"));
        QCOMPARE(QSettings(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromLatin1(settingskeys::kApplicationStore.organization),
                           QString::fromLatin1(settingskeys::kApplicationStore.application))
                     .childKeys()
                     .size(),
                 2);
        QCOMPARE(statusOfStore().st_mode & 0777, mode_t(0600));
        // Read again without a change, the file is not screened again (nothing to tell).
        QCOMPARE(settings.value(QStringLiteral("Literal")), QVariant("@Variant(text)"));
    }

    // On a read-only disk every failed write is logged and the first one announced, once; the
    // writes go through again once the disk is back.
    void failedWriteIsToldOnce()
    {
        QX8Settings settings;
        settings.setValue(QStringLiteral("Data/flag"), QStringLiteral("before"));
        const QString folder = QFileInfo(storeFile()).absolutePath();
        QVERIFY(qx8test::mountReadOnly(folder));
        auto unmount = qScopeGuard([&] { qx8test::unmount(folder); });
        QSignalSpy told(&settings, &QX8Settings::saveFailureChanged);
        QX8Settings other;
        QSignalSpy toldOther(&other, &QX8Settings::saveFailureChanged);
        QVERIFY(settings.saveFailure().isEmpty());

        qx8test::expectWarnings("^Settings could not be saved to .*QX8Control.conf$", 2);
        settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
        QCOMPARE(told.count(), 1);
        QCOMPARE(toldOther.count(), 1);
        QVERIFY2(settings.saveFailure().contains(storeFile() + " cannot be written"),
                 qPrintable(settings.saveFailure()));
        settings.setValue(settingskeys::kCurrentDevicePassword, QStringLiteral("new"));
        QCOMPARE(told.count(), 1);
        QCOMPARE(other.saveFailure(), settings.saveFailure());

        unmount.dismiss();
        QVERIFY(qx8test::unmount(folder));
        settings.setValue(QStringLiteral("Data/flag"), QStringLiteral("after"));
        const QByteArray onDisk = qx8test::fileContent(storeFile());
        QVERIFY(onDisk.contains("flag=after"));
        QVERIFY(onDisk.contains("appAnalytics=false"));
        QCOMPARE(told.count(), 1);
    }
};

QX8_PRIVATE_MOUNTS_TEST_MAIN(QCoreApplication, TestQX8Settings)
#include "tst_qx8settings.moc"
