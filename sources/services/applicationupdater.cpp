#include "applicationupdater.h"

#include "updatefolders.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QFileInfo>

ApplicationUpdater* ApplicationUpdater::instance()
{
    static ApplicationUpdater* updater = new ApplicationUpdater(QCoreApplication::instance());
    return updater;
}

ApplicationUpdater::ApplicationUpdater(QObject* parent)
    : ImageUpdater({updatefeed::Product::Application, updatefolders::applicationImages(),
                    QStringLiteral(".dmg")},
                   parent)
{
    setOwnVersion(applicationVersion());
    connect(this, &ApplicationUpdater::requestInstallUpdate, this,
            &ApplicationUpdater::onRequestInstallUpdate, Qt::QueuedConnection);
}

QString ApplicationUpdater::applicationVersion() const
{
    return QStringLiteral(QX8_APPLICATION_VERSION);
}

void ApplicationUpdater::installUpdate()
{
    Q_EMIT requestInstallUpdate();
}

void ApplicationUpdater::onRequestInstallUpdate()
{
    const QString image = readyImage();
    if (!QFileInfo(image).isFile()) {
        qWarning().noquote() << "No downloaded image to install:" << image;
        setUpdateState(CheckForUpdate);
        Q_EMIT error(QStringLiteral("The downloaded update could not be found. Please download "
                                    "it again."));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(image)))
        qWarning().noquote() << "The system could not open" << image;
    QCoreApplication::quit();
}

void ApplicationUpdater::announceStage(Stage stage)
{
    static_assert(int(InstallUpdate) == int(Stage::ImageReady), "the states match the stages");
    Q_EMIT updateStateChanged(UpdateState(stage));
}
