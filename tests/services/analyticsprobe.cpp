// A process that starts analytics as the application does, queues a screen view for each
// argument once its window is active, then announces the application inactive (the offscreen
// platform never takes the focus away by itself), says "deactivated" on standard output, and
// waits to be killed.
#include "appanalytics.h"
#include "datafolders.h"
#include "settingskeys.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    application.setOrganizationName(QLatin1String(settingskeys::kDefaultStore.organization));
    application.setApplicationName(QLatin1String(settingskeys::kDefaultStore.application));
    g_genericDataLocation = strLogDir;

    AppAnalytics* analytics = AppAnalytics::getInstance(&application);
    analytics->setTrackingID(QStringLiteral("UA-502846137-3"));
    analytics->setSendInterval(50);
    analytics->sendPlatformData();

    QWindow window;
    QObject::connect(&application, &QGuiApplication::applicationStateChanged,
                     [&](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive) {
                             for (const QString& screen : application.arguments().mid(1))
                                 analytics->sendScreenView(screen);
                             Q_EMIT application.applicationStateChanged(Qt::ApplicationInactive);
                         } else {
                             std::puts("deactivated");
                             std::fflush(stdout);
                         }
                     });
    window.show();
    return application.exec();
}
