// The naming rule of tuning files, the pairing of local and device files and the records and
// brand order built from them. Runs in a time zone with daylight saving, so that local times
// that do not exist are met.
#include "fileinfo.h"
#include "testmain.h"
#include "tuningcatalog.h"
#include "tuningname.h"

#include <QtTest>

#include <ctime>

class TestTuningNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void nameFields_data();
    void nameFields();
    void stampsOrderAsWritten_data();
    void stampsOrderAsWritten();
    void deviceStampGivesState_data();
    void deviceStampGivesState();
    void recordsAndBrands();
};

void TestTuningNames::initTestCase()
{
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

void TestTuningNames::nameFields_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stamp");
    QTest::addColumn<bool>("isTuning");
    QTest::addColumn<bool>("validTime"); // Qt alone would read hour 24 as midnight
    QTest::newRow("plain") << "Brand_Series_Model_2014_1_16_19_32.hdf"
                           << "Brand_Series_Model"
                           << "2014_1_16_19_32" << true << true;
    QTest::newRow("dot in base") << "Br.and_S_M_2014_1_16_19_32.hdf"
                                 << "Br.and_S_M"
                                 << "2014_1_16_19_32" << true << true;
    QTest::newRow("hour 24") << "A_B_C_2014_1_16_24_0.hdf"
                             << "A_B_C"
                             << "2014_1_16_24_0" << true << false;
    QTest::newRow("five fields") << "2014_1_16_19_32.hdf"
                                 << ""
                                 << "" << false << false;
    QTest::newRow("no suffix") << "A_B_2014_1_16_19_32"
                               << "A_B"
                               << "2014_1_16_19_32" << false << true;
    QTest::newRow("letter in stamp") << "A_B_2014_1_x_19_32.hdf"
                                     << "A_B"
                                     << "2014_1_x_19_32" << false << false;
    QTest::newRow("path") << "../../x_a_2014_1_1_1_1.hdf"
                          << "../../x_a"
                          << "2014_1_1_1_1" << false << true;
    QTest::newRow("encoded path") << "..%2F..%2Fx_a_2014_1_1_1_1.hdf"
                                  << "..%2F..%2Fx_a"
                                  << "2014_1_1_1_1" << false << true;
    QTest::newRow("hidden") << ".x_a_2014_1_1_1_1.hdf"
                            << ".x_a"
                            << "2014_1_1_1_1" << false << true;
    QTest::newRow("carriage return") << "x_a_2014_1_1_1_1.hdf\r"
                                     << "x_a"
                                     << "2014_1_1_1_1" << false << true;
}

void TestTuningNames::nameFields()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(QString, stamp);
    QFETCH(bool, isTuning);
    QFETCH(bool, validTime);
    QCOMPARE(tuningname::fileName(file), name);
    QCOMPARE(tuningname::timeStampString(file), stamp);
    QCOMPARE(tuningname::isTuningName(file), isTuning);
    QCOMPARE(tuningname::timeStamp(file).isValid(), validTime);
}

void TestTuningNames::stampsOrderAsWritten_data()
{
    QTest::addColumn<QString>("earlier");
    QTest::addColumn<QString>("later");
    QTest::newRow("minute") << "a_b_2014_1_16_19_31.h"
                            << "a_b_2014_1_16_19_32.h";
    QTest::newRow("month 9 before 10") << "a_b_2014_9_1_0_0.h"
                                       << "a_b_2014_10_1_0_0.h";
    QTest::newRow("hour 24 after 23:59") << "a_b_2014_1_16_23_59.h"
                                         << "a_b_2014_1_16_24_0.h";
    QTest::newRow("hour 24 before next day") << "a_b_2014_1_16_24_0.h"
                                             << "a_b_2014_1_17_0_1.h";
    QTest::newRow("in the spring gap") << "a_b_2021_3_28_2_15.h"
                                       << "a_b_2021_3_28_2_45.h";
    QTest::newRow("gap time before 3:10") << "a_b_2021_3_28_2_45.h"
                                          << "a_b_2021_3_28_3_10.h";
    QTest::newRow("no stamp first") << "a_b.h"
                                    << "a_b_1_1_1_0_0.h";
}

void TestTuningNames::stampsOrderAsWritten()
{
    QFETCH(QString, earlier);
    QFETCH(QString, later);
    QVERIFY(tuningname::isEarlier(earlier, later));
    QVERIFY(!tuningname::isEarlier(later, earlier));
    QVERIFY(!tuningname::isEarlier(earlier, earlier));
}

void TestTuningNames::deviceStampGivesState_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("state");
    QTest::newRow("same") << "Wuvo_Arc_M8_2014_1_16_19_32.hdf" << FileInfo::loaded;
    QTest::newRow("a minute earlier") << "Wuvo_Arc_M8_2014_1_16_19_31.hdf" << FileInfo::hasUpdate;
    QTest::newRow("a minute later") << "Wuvo_Arc_M8_2014_1_16_19_33.hdf" << FileInfo::loaded;
    QTest::newRow("hour 24 of the day before")
        << "Wuvo_Arc_M8_2014_1_15_24_0.hdf" << FileInfo::hasUpdate;
    QTest::newRow("other suffix") << "Wuvo_Arc_M8_2014_1_16_19_32.bin" << FileInfo::loaded;
    QTest::newRow("none") << "Wuvo_Arc_M9_2014_1_16_19_32.hdf" << FileInfo::notLoaded;
}

void TestTuningNames::deviceStampGivesState()
{
    QFETCH(QString, device);
    const QString local = QStringLiteral("Wuvo_Arc_M8_2014_1_16_19_32.hdf");
    TuningCatalog catalog;
    catalog.setLocalFiles(TuningSide::Speaker, {local});
    catalog.setRemoteFiles(TuningSide::Speaker, {device});
    QStringList brands;
    const FileInfo info = catalog.getFileInfo(tuningside::speakerFolder, local, brands);
    QFETCH(QString, state);
    QCOMPARE(info.state, state);
    const bool paired = info.state != FileInfo::notLoaded;
    QCOMPARE(catalog.remoteFileCorrespondsToLocal(tuningside::speakerFolder, local),
             paired ? device : QString());
    QCOMPARE(catalog.localFileCorrespondsToRemote(tuningside::speakerFolder, device),
             paired ? local : QString());
}

void TestTuningNames::recordsAndBrands()
{
    TuningCatalog catalog;
    const QStringList speakers{"Wuvo_Arc_M8_2014_1_1_1_1.hdf", "WUVO_arc_M9_2014_1_1_1_1.hdf",
                               "Z_S_M_2014_1_1_1_1.hdf", "Custom_Mine_A_2014_1_1_1_1.hdf",
                               "A_S_M_2014_1_1_1_1.hdf"};
    const QStringList amplifiers{"Morla_D4_Quad_2014_1_1_1_1.hdf"};
    // Two local files of one name: the newer one is the local copy.
    catalog.setLocalFiles(TuningSide::Speaker,
                          {"Z_S_M_2015_1_1_1_1.hdf", "Z_S_M_2014_1_1_1_1.hdf"});
    QCOMPARE(catalog.localFileCorrespondsToRemote(tuningside::speakerFolder, "Z_S_M_1_1_1_1_1.x"),
             QStringLiteral("Z_S_M_2015_1_1_1_1.hdf"));

    QStringList brands{TuningCatalog::showAll};
    int steps = 0;
    const BrandSeriesMap groups =
        catalog.groupRecords(speakers, amplifiers, brands, [&steps] { ++steps; });
    QCOMPARE(steps, speakers.size() + amplifiers.size());
    QCOMPARE(groups.keys(),
             (QList<BrandSeriesKey>{{"A", "S"}, {"MORLA", "D4"}, {"WUVO", "ARC"}, {"Z", "S"}}));
    QCOMPARE(groups.value({"WUVO", "ARC"}).size(), 2);
    QCOMPARE(groups.value({"MORLA", "D4"}).first().type, FileInfo::amplifierType);
    TuningCatalog::orderBrands(brands);
    QCOMPARE(brands, (QStringList{"Show All", "Wuvo", "Morla", "A", "WUVO", "Z"}));

    QStringList withoutWuvo{"Z", "Morla", "Show All", "A"};
    TuningCatalog::orderBrands(withoutWuvo);
    QCOMPARE(withoutWuvo, (QStringList{"Show All", "A", "Morla", "Z"}));
}

QX8_TEST_GUILESS_MAIN(TestTuningNames)
#include "tst_tuningnames.moc"
