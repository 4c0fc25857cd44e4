// The settings store on disk: a write that changes nothing leaves the file alone, since every
// write replaces the whole file (a new inode) and flushes it.
#include "qx8settings.h"
#include "settingskeys.h"
#include "testmain.h"

#include <QSettings>
#include <QTest>
#include <sys/stat.h>

namespace {
ino_t inodeOfStore()
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope,
                          QString::fromLatin1(settingskeys::kApplicationStore.organization),
                          QString::fromLatin1(settingskeys::kApplicationStore.application));
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(store.fileName()).constData(), &status) == 0 ? status.st_ino
                                                                                 : 0;
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
        const ino_t before = inodeOfStore();
        QVERIFY(before != 0);
        settings.setValue(QStringLiteral("Data/flag"), second);
        QCOMPARE(inodeOfStore() != before, rewritten);
        QCOMPARE(QX8Settings().value(QStringLiteral("Data/flag")), second);
    }
};

QX8_TEST_GUILESS_MAIN(TestQX8Settings)
#include "tst_qx8settings.moc"
