#include "applicationstartup.h"

#include <QApplication>
#include <QLoggingCategory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    ApplicationStartup startup(application);
    switch (startup.start()) {
    case ApplicationStartup::Outcome::Started:
        return application.exec();
    case ApplicationStartup::Outcome::AnotherInstance:
        qDebug() << "Another instance of the application is already running.";
        return 0;
    case ApplicationStartup::Outcome::LockFailed:
        break;
    }
    return 1;
}
