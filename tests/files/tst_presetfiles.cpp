// The local preset folder on disk: what is listed, free names, and that adding, copying,
// renaming and deleting never overwrite, never create a file by reading, and never reach
// outside the folder.
#include "filesystemmodel.h"
#include "ftptestsupport.h"
#include "signalrecorder.h"
#include "testharness.h"
#include "testmain.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Busy = QList<QPair<bool, QString>>;

Busy busyOf(const SignalRecorder& recorder)
{
    Busy busy;
    for (const SignalRecorder::Emission& emission : recorder.emissions()) {
        if (emission.name == QLatin1String("busy"))
            busy.append({emission.arguments.at(0).toBool(), emission.arguments.at(1).toString()});
    }
    return busy;
}

QStringList rows(const FileSystemModel& model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names.append(model.index(row).data(FileSystemModel::ModelPresetName).toString());
    return names;
}

} // namespace

class TestPresetFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void listsVisibleFilesOnly();
    void freeNames_data();
    void freeNames();
    void longChainOfTakenNamesEnds();
    void addNeverOverwrites();
    void copyRenameAndDelete();
    void missingFilesAreErrorsAndStayMissing();
    void unsafeNamesStayInside_data();
    void unsafeNamesStayInside();
    void linkToNoFileKeepsItsName();

private:
    QString path(const QString& name) const { return m_folder->filePath("Presets/" + name); }
    // Every entry under the test folder (hidden ones too), relative to it.
    QStringList everything() const;

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<FileSystemModel> m_model;
};

void TestPresetFiles::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_model = std::make_unique<FileSystemModel>(m_folder->filePath("Presets"), nullptr);
    QVERIFY(ftptest::writeFile(path("Show"), "show"));
    QVERIFY(ftptest::writeFile(path("Show 2"), "show 2"));
    QVERIFY(ftptest::writeFile(path("Gig 9"), "gig"));
    QVERIFY(ftptest::writeFile(path("12"), "twelve"));
    m_model->populateModel();
}

QStringList TestPresetFiles::everything() const
{
    QStringList entries;
    QDirIterator it(m_folder->path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(QDir(m_folder->path()).relativeFilePath(it.next()));
    entries.sort();
    return entries;
}

void TestPresetFiles::listsVisibleFilesOnly()
{
    QVERIFY(ftptest::writeFile(path(".hidden"), "x"));
    QVERIFY(ftptest::writeFile(path("apple"), "x"));
    QVERIFY(QDir().mkpath(path("Folder")));
    QTest::ignoreMessage(QtDebugMsg, "Refreshing file system model");
    QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
    m_model->populateModel();
    QCOMPARE(rows(*m_model), QStringList({"12", "apple", "Gig 9", "Show", "Show 2"}));
    QCOMPARE(inserted.size(), 1);
}

void TestPresetFiles::freeNames_data()
{
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("offered");
    const char* const rows[][3] = {{"taken, next taken too", "Show", "Show 3"},
                                   {"number carries", "Gig 9", "Gig 10"},
                                   {"free", "Live", "Live"},
                                   {"whole number", "12", " 13"}};
    for (const auto& [row, wanted, offered] : rows)
        QTest::newRow(row) << QString(wanted) << QString(offered);
}

void TestPresetFiles::freeNames()
{
    QFETCH(QString, wanted);
    QFETCH(QString, offered);
    QCOMPARE(m_model->availablePresetName(wanted), offered);
}

void TestPresetFiles::longChainOfTakenNamesEnds()
{
    m_model->addPreset("Top 9223372036854775807");
    QCOMPARE(m_model->availablePresetName("Top 9223372036854775807"),
             QStringLiteral("Top 9223372036854775807 2"));
    for (int n = 3; n <= 20000; ++n)
        m_model->addPreset(QStringLiteral("Show %1").arg(n));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(m_model->availablePresetName("Show"), QStringLiteral("Show 20001"));
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
}

void TestPresetFiles::addNeverOverwrites()
{
    SignalRecorder recorder(m_model.get());
    m_model->addPresetToFileSystem("Show", "other");
    QCOMPARE(qx8test::fileContent(path("Show")), QByteArray("show"));
    QCOMPARE(busyOf(recorder), Busy({{true, "Adding preset to file system..."}, {false, ""}}));
    QCOMPARE(recorder.count("error"), 1);

    recorder.clear();
    const QByteArray bytes = ftptest::pattern(70000);
    m_model->addPresetToFileSystem("Fetched", bytes);
    QCOMPARE(qx8test::fileContent(path("Fetched")), bytes);
    QCOMPARE(recorder.count("error"), 0);
    QVERIFY(rows(*m_model).contains("Fetched"));
    QCOMPARE(everything().filter(QRegularExpression("/\\.")), QStringList()); // no leftovers
}

void TestPresetFiles::copyRenameAndDelete()
{
    SignalRecorder recorder(m_model.get());
    m_model->copy("Gig 9", "Gig 10");
    QCOMPARE(qx8test::fileContent(path("Gig 10")), QByteArray("gig"));
    QCOMPARE(busyOf(recorder), Busy({{true, "Copying preset to file system..."},
                                     {true, "Adding preset to file system..."},
                                     {false, ""}}));

    recorder.clear();
    QTest::ignoreMessage(QtDebugMsg, "Refreshing file system model");
    QTest::ignoreMessage(QtDebugMsg, "Error : 0");
    m_model->rename("Gig 10", "Encore");
    QVERIFY(!QFile::exists(path("Gig 10")));
    QCOMPARE(qx8test::fileContent(path("Encore")), QByteArray("gig"));
    QCOMPARE(recorder.names({"busy", "indexOfEditedPreset"}),
             QStringList({"busy", "indexOfEditedPreset", "busy"}));
    for (const SignalRecorder::Emission& emission : recorder.emissions()) {
        if (emission.name == QLatin1String("indexOfEditedPreset"))
            QCOMPARE(emission.arguments.first().toInt(), rows(*m_model).indexOf("Encore"));
    }

    recorder.clear();
    m_model->rename("Encore", "Show"); // onto a name that exists
    QCOMPARE(qx8test::fileContent(path("Show")), QByteArray("show"));
    QCOMPARE(qx8test::fileContent(path("Encore")), QByteArray("gig"));
    QCOMPARE(recorder.names({"busy", "error", "indexOfEditedPreset"}),
             QStringList({"busy", "error", "busy"}));

    recorder.clear();
    m_model->deletePreset("Encore");
    QVERIFY(!QFile::exists(path("Encore")));
    QCOMPARE(recorder.names({"busy", "presetDeleted", "error"}),
             QStringList({"busy", "busy", "presetDeleted"}));
}

void TestPresetFiles::missingFilesAreErrorsAndStayMissing()
{
    const QStringList before = everything();
    SignalRecorder recorder(m_model.get());
    m_model->transfer("Nope");
    m_model->copy("Nope", "Copy");
    m_model->rename("Nope", "Renamed");
    m_model->deletePreset("Nope");
    QCOMPARE(everything(), before);
    QCOMPARE(recorder.count("error"), 4);
    QCOMPARE(recorder.count("presetAvailable") + recorder.count("presetDeleted") +
                 recorder.count("indexOfEditedPreset"),
             0);
    QCOMPARE(busyOf(recorder).last(), qMakePair(false, QString()));
}

void TestPresetFiles::unsafeNamesStayInside_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "../Outside";
    QTest::newRow("sub-path") << "a/b";
    QTest::newRow("dot-dot") << "..";
    QTest::newRow("hidden") << ".hidden";
    QTest::newRow("encoded parent") << "..%2FOutside";
    QTest::newRow("line feed") << "a\nb";
    QTest::newRow("empty") << "";
}

void TestPresetFiles::unsafeNamesStayInside()
{
    QFETCH(QString, name);
    QVERIFY(ftptest::writeFile(m_folder->filePath("Outside"), "outside"));
    const QStringList before = everything();
    SignalRecorder recorder(m_model.get());
    m_model->addPresetToFileSystem(name, "bytes");
    m_model->copy("Show", name);
    m_model->rename("Show", name);
    m_model->rename(name, "Taken");
    m_model->deletePreset(name);
    m_model->transfer(name);
    QCOMPARE(everything(), before);
    QCOMPARE(recorder.count("error"), 6);
    QCOMPARE(busyOf(recorder).last(), qMakePair(false, QString()));
    QVERIFY(!m_model->isValidFileName(name));
}

// A link under a name that leads to no file: that name is taken, and nothing added, copied or
// renamed onto it goes through the link to make the file it names.
void TestPresetFiles::linkToNoFileKeepsItsName()
{
    QVERIFY(QFile::link(path("Nowhere"), path("Encore")));
    const QStringList before = everything();
    SignalRecorder recorder(m_model.get());
    m_model->addPresetToFileSystem("Encore", "bytes");
    m_model->copy("Show", "Encore");
    m_model->rename("Gig 9", "Encore");
    QCOMPARE(everything(), before);
    QVERIFY(QFileInfo(path("Encore")).isSymLink());
    QCOMPARE(recorder.count("error"), 3);
    for (const SignalRecorder::Emission& emission : recorder.emissions()) {
        if (emission.name == QLatin1String("error"))
            QCOMPARE(emission.arguments.first().toString(),
                     QStringLiteral("A preset named \"Encore\" already exists."));
    }
}

QX8_TEST_GUILESS_MAIN(TestPresetFiles)
#include "tst_presetfiles.moc"
