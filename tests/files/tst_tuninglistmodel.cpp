// The tuning screen's model against a device's FTP storage made for it and the cloud of the run
// script (simulator/storage/cloud, served by the harness HTTP server): how each group's records
// fold into one row, what a brand filter and a discard do to the rows and to the choices
// pending, and what a cloud update (in validation mode from the "-test" containers), an apply and
// a reset say when they end.
#include "datafolders.h"
#include "httpserverprocess.h"
#include "settingskeys.h"
#include "signalrecorder.h"
#include "testharness.h"
#include "testmain.h"
#include "tuningfilelistmodel.h"
#include "tuningfilemanager.h"
#include "tuningfixture.h"
#include "tuningname.h"

#include <QDir>
#include <QMetaProperty>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

namespace {

// What the device holds of each of a group's two factory files: the same stamp, an earlier or a
// later one, or nothing; and the row the group then makes.
struct Composition
{
    const char* tag;
    const char* onDevice[2];
    const char* state;
    const char* update;
    const char* addRemove;
};

const Composition compositions[] = {
    {"all loaded", {"same", "same"}, "Loaded", "", "Remove"},
    {"all loaded, one newer", {"same", "newer"}, "Loaded", "", "Remove"},
    {"one loaded, one missing", {"same", "missing"}, "Has Update", "Update", "Remove"},
    {"one loaded, one older", {"older", "same"}, "Has Update", "Update", "Remove"},
    {"all older", {"older", "older"}, "Not Loaded", "", "Add"},
    {"none", {"missing", "missing"}, "Not Loaded", "", "Add"},
};

struct Group
{
    QString brand;
    QString series;
    QStringList files;
};

// The factory's (brand, series) groups of exactly two speaker tunings, in key order, one brand
// each, as many as `count`.
QList<Group> twoFileGroups(int count)
{
    QMap<QPair<QString, QString>, QStringList> groups;
    for (const QString& file : QDir(":/TuningFiles/Local/SpeakerTunings").entryList(QDir::Files)) {
        const QStringList fields = file.split('_');
        if (fields.first() != QLatin1String("Custom"))
            groups[{fields.at(0).toUpper(), fields.at(1).toUpper()}].append(file);
    }
    QList<Group> chosen;
    QSet<QString> brands;
    for (auto group = groups.cbegin(); group != groups.cend() && chosen.size() < count; ++group) {
        if (group->size() != 2 || brands.contains(group.key().first))
            continue;
        brands.insert(group.key().first);
        const QStringList fields = group->first().split('_');
        chosen.append({fields.at(0), fields.at(1), *group});
    }
    return chosen;
}

// The same name with the stamp's year moved by `years`.
QString movedByYears(const QString& file, int years)
{
    QStringList fields = file.split('_');
    const int year = fields.size() - 5;
    fields[year] = QString::number(fields.at(year).toInt() + years);
    return fields.join('_');
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestTuningListModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void foldsEachGroupIntoOneRow_data();
    void foldsEachGroupIntoOneRow();
    void filtersKeepWhatIsPending_data();
    void filtersKeepWhatIsPending();
    void brandFilterIsAnnounced();
    void cloudUpdateSaysWhatItDid();
    void applyAndResetSayWhatTheyDid();
    void unreachableStorageSaysWhy();
    void flatListsReachTheModel();

private:
    int rowOf(const Group& group) const;
    QVariant data(int row, int role) const;
    int visibleRows() const;
    bool waitForReset();
    // Waits for the end of the model's operation; true when it ended well.
    bool ended(SignalRecorder& recorder) const;
    QStringList requestedPaths(int from) const;

    HttpServerProcess m_cloud;
    TuningDevice m_device;
    QList<Group> m_groups; // one per composition, in order
    std::unique_ptr<TuningFileListModel> m_model;
};

void TestTuningListModel::initTestCase()
{
    USER_PATH = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    QVERIFY(m_cloud.start(qx8test::sourceDir() + "/simulator/storage/cloud"));
    qputenv("QX8_CLOUD_BASE_URL", m_cloud.url("/").toString().toUtf8());

    m_groups = twoFileGroups(int(std::size(compositions)));
    QCOMPARE(m_groups.size(), int(std::size(compositions)));
    const QString speakers = m_device.storage() + "/SpeakerTunings/";
    QVERIFY(QDir().mkpath(speakers) && QDir().mkpath(m_device.storage() + "/AmplifierData"));
    for (int i = 0; i < m_groups.size(); ++i) {
        for (int file = 0; file < 2; ++file) {
            const QString kind = QLatin1String(compositions[i].onDevice[file]);
            const QString name = m_groups.at(i).files.at(file);
            const QString onDevice = kind == "older"   ? movedByYears(name, -1)
                                     : kind == "newer" ? movedByYears(name, 1)
                                     : kind == "same"  ? name
                                                       : QString();
            if (!onDevice.isEmpty())
                QVERIFY(writeFile(speakers + onDevice, onDevice.toUtf8()));
        }
    }
    QVERIFY(m_device.start());
    QSettings(settingskeys::kApplicationStore.organization,
              settingskeys::kApplicationStore.application)
        .setValue(settingskeys::kCurrentDeviceAddress, m_device.address());

    m_model = std::make_unique<TuningFileListModel>();
    QSignalSpy initialized(m_model.get(), &TuningFileListModel::initialized);
    m_model->initializeModel();
    QVERIFY(initialized.wait(2 * qx8test::timeoutMs()));
    QCOMPARE(initialized.first().first().toBool(), true);
    // The device's files are all names of the local store: nothing was fetched.
    QCOMPARE(m_device.commands("RETR "), QStringList());
}

void TestTuningListModel::cleanupTestCase()
{
    m_model.reset();
    TuningFileManager::instance()->shutdown();
}

int TestTuningListModel::rowOf(const Group& group) const
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (data(row, TuningFileListModel::BrandSeriesRole) == group.brand + " / " + group.series)
            return row;
    }
    return -1;
}

QVariant TestTuningListModel::data(int row, int role) const
{
    return m_model->data(m_model->index(row), role);
}

int TestTuningListModel::visibleRows() const
{
    int visible = 0;
    for (int row = 0; row < m_model->rowCount(); ++row)
        visible += data(row, TuningFileListModel::FilterRole).toBool() ? 1 : 0;
    return visible;
}

bool TestTuningListModel::waitForReset()
{
    QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
    return reset.wait(qx8test::timeoutMs());
}

bool TestTuningListModel::ended(SignalRecorder& recorder) const
{
    return QTest::qWaitFor([&] { return recorder.count("initialized") > 0; },
                           3 * qx8test::timeoutMs()) &&
           recorder.emissions().last().arguments.first().toBool();
}

QStringList TestTuningListModel::requestedPaths(int from) const
{
    QStringList paths;
    for (const HttpServerProcess::Request& request : m_cloud.requests().mid(from))
        paths.append(QString::fromUtf8(request.path));
    return paths;
}

void TestTuningListModel::foldsEachGroupIntoOneRow_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("update");
    QTest::addColumn<QString>("addRemove");
    for (int i = 0; i < int(std::size(compositions)); ++i) {
        const Composition& row = compositions[i];
        QTest::newRow(row.tag) << i << row.state << row.update << row.addRemove;
    }
}

void TestTuningListModel::foldsEachGroupIntoOneRow()
{
    QFETCH(int, group);
    const int row = rowOf(m_groups.at(group));
    QVERIFY(row >= 0);
    QCOMPARE(data(row, TuningFileListModel::TypeRole).toString(), QStringLiteral("SPK"));
    QFETCH(QString, state);
    QFETCH(QString, update);
    QFETCH(QString, addRemove);
    QCOMPARE(data(row, TuningFileListModel::StateRole).toString(), state);
    QCOMPARE(data(row, TuningFileListModel::UpdateRole).toString(), update);
    QCOMPARE(data(row, TuningFileListModel::AddRemoveRole).toString(), addRemove);
    QCOMPARE(data(row, TuningFileListModel::ActionRole).toString(), QStringLiteral("No Change"));
}

// Steps: "choose G ACTION" (the row of group G), "filter BRAND" ("brand G" for group G's brand),
// "discard". Then whether Apply and Cancel are on, how many rows show, and group 0's action.
void TestTuningListModel::filtersKeepWhatIsPending_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("applyCancel");
    QTest::addColumn<QString>("shown"); // the rows of this brand ("brand G": group G's)
    QTest::addColumn<QString>("action");
    QTest::newRow("a choice, then another brand")
        << QStringList{"choose 0 Will Add", "filter brand 1"} << true << "brand 1"
        << "Will Add";
    QTest::newRow("a choice, then back to every brand")
        << QStringList{"choose 0 Will Remove", "filter brand 1", "filter Show All"} << true
        << "Show All"
        << "Will Remove";
    QTest::newRow("a choice made where filtered")
        << QStringList{"filter brand 0", "choose 0 Will Update", "filter brand 2"} << true
        << "brand 2"
        << "Will Update";
    QTest::newRow("a brand no row has")
        << QStringList{"choose 0 Will Add", "filter Nobody"} << true << "Nobody"
        << "Will Add";
    QTest::newRow("a choice taken back, then a filter")
        << QStringList{"choose 0 Will Add", "choose 0 No Change", "filter brand 1"} << false
        << "brand 1"
        << "No Change";
    QTest::newRow("a word that is no action")
        << QStringList{"choose 0 Will Explode", "filter Show All"} << false << "Show All"
        << "No Change";
    QTest::newRow("discarded behind a filter")
        << QStringList{"choose 0 Will Add", "choose 3 Will Remove", "filter brand 1", "discard"}
        << false << "brand 1"
        << "No Change";
}

void TestTuningListModel::filtersKeepWhatIsPending()
{
    QFETCH(QStringList, steps);
    const int rows = m_model->rowCount();
    const auto brandOf = [&](const QString& word) {
        return word.startsWith("brand ") ? m_groups.at(word.mid(6).toInt()).brand : word;
    };
    for (const QString& step : qAsConst(steps)) {
        if (step.startsWith("choose ")) {
            const QString group = step.section(' ', 1, 1);
            const QString action = step.section(' ', 2);
            const int row = rowOf(m_groups.at(group.toInt()));
            QCOMPARE(m_model->setData(m_model->index(row), action, TuningFileListModel::ActionRole),
                     action != QLatin1String("Will Explode"));
        } else if (step.startsWith("filter ")) {
            m_model->filterBy(brandOf(step.mid(7)));
            QVERIFY(waitForReset());
        } else {
            m_model->discardChanges();
            QVERIFY(waitForReset());
        }
    }
    QFETCH(bool, applyCancel);
    QFETCH(QString, shown);
    QFETCH(QString, action);
    QCOMPARE(m_model->enableApplyCancel(), applyCancel);
    QCOMPARE(m_model->rowCount(), rows);
    const QString filter = brandOf(shown);
    int shownRows = 0;
    for (int row = 0; row < rows; ++row) {
        const QString brandSeries = data(row, TuningFileListModel::BrandSeriesRole).toString();
        shownRows += filter == "Show All" || brandSeries.startsWith(filter + " / ") ? 1 : 0;
    }
    QCOMPARE(visibleRows(), shownRows);
    QCOMPARE(data(rowOf(m_groups.at(0)), TuningFileListModel::ActionRole).toString(), action);

    m_model->discardChanges();
    m_model->filterBy(QStringLiteral("Show All"));
    QVERIFY(waitForReset());
    QVERIFY(!m_model->enableApplyCancel());
}

// A view bound to the filter hears of each change, once.
void TestTuningListModel::brandFilterIsAnnounced()
{
    const QMetaObject* meta = m_model->metaObject();
    QVERIFY(meta->property(meta->indexOfProperty("brandFilter")).hasNotifySignal());
    QSignalSpy changed(m_model.get(), &TuningFileListModel::brandFilterChanged);
    const QString brand = m_groups.at(1).brand;
    for (const QString& filter : {brand, brand, QStringLiteral("Show All")})
        m_model->filterBy(filter);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(changed.at(0).first().toString(), brand);
    QCOMPARE(changed.at(1).first().toString(), QStringLiteral("Show All"));
    QVERIFY(waitForReset());
}

// The cloud of the run script: its containers hold newer stamps of factory tunings; in
// validation mode the "-test" containers hold newer ones still.
void TestTuningListModel::cloudUpdateSaysWhatItDid()
{
    SignalRecorder recorder(m_model.get());
    const QStringList cloudSteps{"resultMessage", "initialized", "error"};

    for (const auto& [mode, message] :
         {qMakePair(QString(), QStringLiteral("Tunings updated from the cloud.")),
          qMakePair(QString(), QStringLiteral("The tunings are up to date.")),
          qMakePair(QStringLiteral("-test"), QStringLiteral("Tunings updated from the cloud."))}) {
        TuningFileManager::instance()->setValidationMode(!mode.isEmpty());
        recorder.clear();
        const int from = m_cloud.requests().size();
        m_model->updateFromCloud();
        QVERIFY(ended(recorder));
        QCOMPARE(recorder.names(cloudSteps), QStringList({"resultMessage", "initialized"}));
        QCOMPARE(recorder.emissions()
                     .at(recorder.names().indexOf("resultMessage"))
                     .arguments.first()
                     .toString(),
                 message);
        const QStringList paths = requestedPaths(from);
        QVERIFY(paths.size() >= 2);
        for (const QString& path : paths)
            QVERIFY2(path.startsWith("/sp-speaker-tunings" + mode + "/") ||
                         path.startsWith("/sp-amplifier-data" + mode + "/"),
                     qPrintable(path));
    }
    TuningFileManager::instance()->setValidationMode(false);
    const QStringList local = QDir(localTuningFolder("SpeakerTunings")).entryList(QDir::Files);
    QVERIFY(local.contains("Wuvo_Arc_M8_2023_9_1_12_0.hdf"));
    QVERIFY(local.contains("Wuvo_Preview_P10_2023_9_1_12_0.hdf"));
    QVERIFY(!local.contains("Wuvo_Arc_M8_2023_6_1_12_0.hdf"));
    QVERIFY(QFile::exists(localTuningFolder("AmplifierData") +
                          "/Morla_Preview_Quad_2023_9_1_12_0.hdf"));
}

void TestTuningListModel::applyAndResetSayWhatTheyDid()
{
    SignalRecorder recorder(m_model.get());
    const QStringList steps{"resultMessage", "initialized", "error"};
    const int row = rowOf(m_groups.at(5)); // none of its files on the device
    QVERIFY(
        m_model->setData(m_model->index(row), FileInfo::willAdd, TuningFileListModel::ActionRole));
    m_model->applyChanges();
    QVERIFY(ended(recorder));
    QCOMPARE(recorder.names(steps), QStringList({"resultMessage", "initialized"}));
    QCOMPARE(recorder.emissions().at(recorder.names().indexOf("resultMessage")).arguments.first(),
             QVariant("Changes applied to the Spandrell QX8."));
    QVERIFY(QFile::exists(m_device.storage() + "/SpeakerTunings/" + m_groups.at(5).files.first()));
    QCOMPARE(data(rowOf(m_groups.at(5)), TuningFileListModel::StateRole).toString(),
             QStringLiteral("Loaded"));
    QVERIFY(!m_model->enableApplyCancel());

    recorder.clear();
    m_model->resetTunings();
    QVERIFY(ended(recorder));
    QCOMPARE(recorder.names(steps), QStringList({"resultMessage", "initialized"}));
    QCOMPARE(recorder.emissions().at(recorder.names().indexOf("resultMessage")).arguments.first(),
             QVariant("Tunings reset to the factory set."));
    QCOMPARE(QDir(localTuningFolder("SpeakerTunings")).entryList(QDir::Files),
             QDir(":/TuningFiles/Local/SpeakerTunings").entryList(QDir::Files));
}

// Nothing listens on the device's FTP port: each operation ends with what went wrong, then fails.
void TestTuningListModel::unreachableStorageSaysWhy()
{
    m_device.stop();
    SignalRecorder recorder(m_model.get());
    const QString refused = "Connection failed: Connection refused to host " + m_device.address();
    const QStringList steps{"resultMessage", "initialized", "error"};
    for (const auto& [start, said] :
         {qMakePair(std::function<void()>([&] { m_model->reInitialize(); }),
                    QString("The tunings on the Spandrell QX8 could not be read.\n" + refused)),
          qMakePair(std::function<void()>([&] { m_model->applyChanges(); }),
                    QString("The changes could not be made on the Spandrell QX8.\n" + refused))}) {
        recorder.clear();
        start();
        QVERIFY(QTest::qWaitFor([&] { return recorder.count("initialized") > 0; },
                                3 * qx8test::timeoutMs()));
        QCOMPARE(recorder.names(steps), QStringList({"error", "initialized"}));
        QCOMPARE(recorder.emissions().at(recorder.names().indexOf("error")).arguments.first(),
                 QVariant(said));
        QCOMPARE(recorder.emissions().last().arguments.first(), QVariant(false));
        QCOMPARE(m_model->rowCount(), 0);
    }

    QVERIFY(m_device.restart());
    recorder.clear();
    m_model->reInitialize();
    QVERIFY(ended(recorder));
    QVERIFY(m_model->rowCount() > 0);
}

// The manager's flat record list reaches the model queued, as everything between them does; the
// model keeps its copies and its rows stay the groups'.
void TestTuningListModel::flatListsReachTheModel()
{
    TuningFileManager* manager = TuningFileManager::instance();
    const QMetaObject::Connection connection =
        connect(manager, &TuningFileManager::fileInfoList, m_model.get(),
                &TuningFileListModel::onFileInfoList, Qt::QueuedConnection);
    FileInfoList records;
    for (const QString& file : m_groups.at(0).files) {
        FileInfo record;
        record.type = FileInfo::speakerType;
        record.brand = m_groups.at(0).brand;
        record.series = m_groups.at(0).series;
        record.file = file;
        records.append(record);
    }
    const int rows = m_model->rowCount();
    QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
    Q_EMIT manager->fileInfoList(&records);
    QVERIFY(m_model->fileInfoList().isEmpty());
    QVERIFY(reset.wait(qx8test::timeoutMs()));
    disconnect(connection);
    QCOMPARE(m_model->fileInfoList(), records);
    QCOMPARE(m_model->savedFileInfoList(), records);
    QCOMPARE(m_model->rowCount(), rows);
}

QX8_TEST_GUILESS_MAIN(TestTuningListModel)
#include "tst_tuninglistmodel.moc"
