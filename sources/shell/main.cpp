#include "qx8settings.h"
#include "tcpadaptor.h"

#include <QGuiApplication>
#include <QLoggingCategory>

// Connects to the device on 127.0.0.1 and logs in with the factory password.
int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    QX8Settings settings;
    settings.setValue(QStringLiteral("Data/CurrentDeviceAddress"), QStringLiteral("127.0.0.1"));
    if (!settings.contains(QStringLiteral("Data/CurrentDevicePassword")))
        settings.setValue(QStringLiteral("Data/CurrentDevicePassword"),
                          QStringLiteral("quillrampstow"));

    TCPAdaptor* link = TCPAdaptor::instance();
    QObject::connect(link, &TCPAdaptor::vimbalReady, [] { qInfo() << "Logged in to the device"; });
    QObject::connect(link, &TCPAdaptor::incorrectPassword, [] { qWarning() << "Login refused"; });
    QObject::connect(link, &TCPAdaptor::timeOutError, [] { qWarning() << "Connect time-out"; });
    link->doConnect();
    return application.exec();
}
