// The application as main.cpp starts it, with two cloud transfers started at once (the update
// feed in the GUI thread, the speaker-tuning manifest in the download thread), and a way to quit
// as a user does: the line "quit" on standard input closes the window.
#include "applicationstartup.h"
#include "applicationupdater.h"
#include "tuningfilemanager.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWindow>

#include <unistd.h>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    ApplicationStartup startup(application);
    if (startup.start() != ApplicationStartup::Outcome::Started)
        return 1;
    ApplicationUpdater::instance()->checkForUpdate();
    TuningFileManager::instance()->onSignalUpdateFromCloud();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &application, [&input] {
        char byte = 0;
        if (read(STDIN_FILENO, &byte, 1) == 1 && byte != '\n')
            return;
        input.setEnabled(false);
        for (QWindow* window : QGuiApplication::topLevelWindows())
            window->close();
    });
    return application.exec();
}
