// The application as main.cpp starts it, with two cloud transfers started at once (the update
// feed in the GUI thread, the speaker-tuning manifest in the download thread), and a way to quit
// as a user does: the line "quit" on standard input closes the window. On standard output it
// names the process's other threads twice: "running: ..." when asked to quit, "left: ..." once
// the application object is gone.
#include "applicationstartup.h"
#include "applicationupdater.h"
#include "tuningfilemanager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

namespace {

void printThreadNames(const char* label)
{
    QStringList names;
    const QString self = QString::number(gettid());
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (task != self && comm.open(QIODevice::ReadOnly))
            names.append(QString::fromUtf8(comm.readAll()).trimmed());
    }
    std::printf("%s: %s\n", label, qPrintable(names.join(QLatin1Char(','))));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    int status = 1;
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
            printThreadNames("running");
            for (QWindow* window : QGuiApplication::topLevelWindows())
                window->close();
        });
        status = application.exec();
    }
    printThreadNames("left");
    return status;
}
