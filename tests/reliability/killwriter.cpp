// Writes one of the application's files again and again through the application's own writer,
// each time whole with a new generation of content (see writtenblob.h), and prints
// "writing <generation>" before each and "wrote <generation>" after it. tst_killedwrites kills it
// at random moments.
//
//   killwriter settings|presets|tunings|analytics
//   killwriter updates IMAGE_URL_1 IMAGE_URL_2
#include "analyticsqueuefile.h"
#include "datafolders.h"
#include "downloadlimits.h"
#include "filesystemmodel.h"
#include "httptransfer.h"
#include "localtuningstore.h"
#include "qx8settings.h"
#include "updatecache.h"
#include "updatefolders.h"
#include "writtenblob.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>
#include <functional>

namespace {

using Writer = std::function<bool(int generation)>;

Writer settingsWriter()
{
    // As the application at start: a killed predecessor's lock would hold the first write.
    QX8Settings::removeLeftoverLocks();
    QX8Settings().setValue(writtenblob::kSettingsKeptKey, writtenblob::kSettingsKeptValue);
    return [](int generation) {
        QX8Settings().setValue(writtenblob::kSettingsBlobKey,
                               QString::fromLatin1(writtenblob::make(generation)));
        return true;
    };
}

// Which of the three preset names the newest file on disk has, or -1.
int newestPresetName(const QString& folder)
{
    const QStringList newestFirst = QDir(folder).entryList(QDir::Files, QDir::Time);
    for (int name = 0; name < 3 && !newestFirst.isEmpty(); ++name) {
        if (newestFirst.first() == writtenblob::presetName(name))
            return name;
    }
    return -1;
}

Writer presetsWriter(const QString& dataFolder)
{
    const QString folder = writtenblob::presetFolder(dataFolder);
    auto* model = new FileSystemModel(folder, qApp);
    // Each run goes on after the newest preset of the run before, so the first name it deletes
    // is never the only whole preset left by a run killed early.
    const int newest = newestPresetName(folder);
    return [model, newest](int generation) {
        // Presets are never overwritten: the oldest of three names goes before it is written
        // again, so the other two stay whole on disk meanwhile.
        const QString name = writtenblob::presetName((newest + generation) % 3);
        model->deletePreset(name);
        model->addPresetToFileSystem(name, writtenblob::make(generation));
        return true;
    };
}

Writer tuningsWriter(const QString& dataFolder)
{
    auto* store = new LocalTuningStore(dataFolder);
    QDir().mkpath(store->localFolder(TuningSide::Speaker));
    return [store](int generation) {
        return store
            ->write(TuningSide::Speaker, writtenblob::kTuningName, writtenblob::make(generation))
            .isEmpty();
    };
}

Writer analyticsWriter()
{
    const QString path = writtenblob::analyticsQueuePath(strLogDir);
    QDir().mkpath(QFileInfo(path).path());
    const AnalyticsQueueFile file(path);
    return [file](int generation) { return file.write(writtenblob::hits(generation)); };
}

// Downloads the two images in turn into the application-update cache and keeps the newest.
Writer updatesWriter(const QUrl& first, const QUrl& second)
{
    auto* manager = new QNetworkAccessManager(qApp);
    auto* transfer = new HttpTransfer(manager, qApp);
    return [=](int generation) {
        const UpdateCache cache(updatefolders::applicationImages(), writtenblob::kImageSuffix);
        cache.prepare();
        const QString version = writtenblob::imageVersion(generation);
        QEventLoop loop;
        QObject::connect(transfer, &HttpTransfer::finished, &loop, &QEventLoop::quit);
        transfer->downloadToFile(QNetworkRequest(generation % 2 ? first : second),
                                 cache.imagePath(version), downloadlimits::kImage);
        loop.exec();
        if (transfer->error() != QNetworkReply::NoError)
            return false;
        cache.keepOnly(version);
        return true;
    };
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    const QStringList arguments = application.arguments().mid(1);
    const QString kind = arguments.value(0);
    const QString dataFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    USER_PATH = dataFolder.toStdString();

    Writer writer;
    if (kind == QLatin1String("settings"))
        writer = settingsWriter();
    else if (kind == QLatin1String("presets"))
        writer = presetsWriter(dataFolder);
    else if (kind == QLatin1String("tunings"))
        writer = tuningsWriter(dataFolder);
    else if (kind == QLatin1String("analytics"))
        writer = analyticsWriter();
    else if (kind == QLatin1String("updates") && arguments.size() == 3)
        writer = updatesWriter(QUrl(arguments.at(1)), QUrl(arguments.at(2)));
    if (!writer) {
        std::fprintf(stderr, "killwriter: unknown arguments\n");
        return 2;
    }
    for (int generation = 1;; ++generation) {
        std::printf("writing %d\n", generation);
        std::fflush(stdout);
        if (!writer(generation)) {
            std::fprintf(stderr, "killwriter: generation %d was not written\n", generation);
            return 1;
        }
        std::printf("wrote %d\n", generation);
        std::fflush(stdout);
    }
}
