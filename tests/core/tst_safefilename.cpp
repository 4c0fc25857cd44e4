#include "safefilename.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSafeFileName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::newRow("tuning file") << "Wuvo_A_M_2014_1_16_19_32.hdf" << true;
        QTest::newRow("spaces and unicode") << QString::fromUtf8("Preset Ä 1.preset") << true;
        QTest::newRow("literal percent") << "50%_mix" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("hidden") << ".bashrc" << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("climb") << "../../x_a_2014_1_1_1_1.hdf" << false;
        QTest::newRow("backslash") << "..\\x" << false;
        QTest::newRow("NUL") << QString::fromLatin1("a\0b", 3) << false;
        QTest::newRow("lone CR") << "a\rDELE b" << false;
        QTest::newRow("DEL") << "a\x7f" << false;
        QTest::newRow("C1 control") << QString::fromUtf8("a\xc2\x85") << false;
        QTest::newRow("encoded slash") << "x%2F..%2F..%2Fy" << false;
        QTest::newRow("encoded dot dot") << "%2E%2E" << false;
        QTest::newRow("encoded twice") << "x%252F..%252Fy" << false;
        QTest::newRow("encoded NUL") << "a%00b" << false;
    }

    void names()
    {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        QCOMPARE(safefilename::isSafe(name), safe);
        QTemporaryDir folder;
        QCOMPARE(safefilename::pathInFolder(folder.path(), name).isEmpty(), !safe);
    }

    // Links already in the folder decide where a write would land.
    void linksInTheFolder_data()
    {
        QTest::addColumn<QString>("linkTarget");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("no link") << "" << true;
        QTest::newRow("to a file inside") << "inside.txt" << true;
        QTest::newRow("to a file outside") << "../outside.txt" << false;
        QTest::newRow("dangling, outside") << "../not-there.txt" << false;
        QTest::newRow("round in circles") << "name" << false;
    }

    void linksInTheFolder()
    {
        QFETCH(QString, linkTarget);
        QFETCH(bool, allowed);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("folder"));
        const QString folder = root.filePath("folder");
        QFile(folder + "/inside.txt").open(QIODevice::WriteOnly);
        QFile(root.filePath("outside.txt")).open(QIODevice::WriteOnly);
        if (!linkTarget.isEmpty())
            QVERIFY(QFile::link(linkTarget, folder + "/name"));

        const QString path = safefilename::pathInFolder(folder, "name");
        QCOMPARE(!path.isEmpty(), allowed);
        if (allowed)
            QCOMPARE(path, QFileInfo(folder).canonicalFilePath() + "/name");
    }
};

QX8_TEST_GUILESS_MAIN(TestSafeFileName)
#include "tst_safefilename.moc"
