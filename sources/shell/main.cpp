#include "applicationstartup.h"

#include <QApplication>
#include <QLoggingCategory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    ApplicationStartup startup(application);
    if (!startup.start()) {
        qDebug() << "Another instance of the application is already running.";
        return 0;
    }
    return application.exec();
}
