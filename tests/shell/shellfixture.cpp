#include "shellfixture.h"
#include "settingskeys.h"

#include "applicationstartup.h"
#include "qx8settings.h"
#include "tcpadaptor.h"
#include "testmain.h"
#include "tuningfilemanager.h"
#include "viewloader.h"

#include <QApplication>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>

ShellFixture::ShellFixture() = default;

// The application ends the tuning service's threads at aboutToQuit, which a test process never
// emits: left running, they would still be at work while the process exits.
ShellFixture::~ShellFixture()
{
    m_loads.reset();
    m_startup.reset();
    TuningFileManager::instance()->shutdown();
}

bool ShellFixture::start()
{
    // These tests run where loopback is the only network: with a device on a loopback address
    // the network watchdog stays quiet instead of sending the screens back to discovery.
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, QStringLiteral("127.0.0.1"));
    m_startup = std::make_unique<ApplicationStartup>(*qApp);
    if (m_startup->start() != ApplicationStartup::Outcome::Started)
        return false;
    qx8test::restoreWarningCheck(); // the application's log handler replaced it
    m_loads = std::make_unique<QSignalSpy>(loader(), &ViewLoader::loadPage);
    return root() != nullptr;
}

ViewLoader* ShellFixture::loader() const
{
    return m_startup->viewLoader();
}

QQuickItem* ShellFixture::root() const
{
    return loader()->view()->rootObject();
}

QQuickItem* ShellFixture::pageItem() const
{
    auto* pageLoader = root()->findChild<QObject*>(QStringLiteral("pageLoader"));
    return pageLoader
               ? qobject_cast<QQuickItem*>(
                     QQmlProperty::read(pageLoader, QStringLiteral("item")).value<QObject*>())
               : nullptr;
}

void ShellFixture::guiSignal(const QString& param, const QString& payload)
{
    QMetaObject::invokeMethod(root(), "guiSignal", Q_ARG(QString, param), Q_ARG(QString, payload));
    settle();
}

void ShellFixture::settle()
{
    for (int pass = 0; pass < 4; ++pass)
        QCoreApplication::processEvents();
}

void ShellFixture::sendProbe()
{
    TCPAdaptor::instance()->SendRequest({QStringLiteral("NPO"),
                                         QStringLiteral("Node\\SV\\HardwareVersion"), QString(),
                                         QString(), QStringLiteral("get")});
}

void ShellFixture::screenshot(const QString& name) const
{
    const QString folder = qEnvironmentVariable("QX8_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        loader()->view()->grabWindow().save(folder + QLatin1Char('/') + name);
}

QStringList ShellFixture::takeLoads()
{
    QStringList loads;
    for (const QList<QVariant>& load : *m_loads) {
        loads << load.at(0).value<QVariant>().toString() + QLatin1Char('|') +
                     load.at(1).value<QVariant>().toString();
    }
    m_loads->clear();
    return loads;
}

QQuickItem* ShellFixture::visibleItem(QQuickItem* from, const QString& objectName)
{
    if (from->objectName() == objectName && from->isVisible())
        return from;
    for (QQuickItem* child : from->childItems()) {
        if (QQuickItem* found = visibleItem(child, objectName))
            return found;
    }
    return nullptr;
}
