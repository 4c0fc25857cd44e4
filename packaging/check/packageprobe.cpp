// A test tool for the installed application, loaded into it through Qt's generic plugin hook:
//   QT_PLUGIN_PATH=FOLDER QT_QPA_GENERIC_PLUGINS=qx8probe:REPORT QX8Control
// with this plugin in FOLDER/generic. It reports the window's icon, compiles every page the
// application carries, goes to the discovery page as a user would, waits for "Virtual QX8" in its
// list, then opens the offline model from the device-type dialog and waits for the home screen.
// Every step it reaches, and every fault it meets, is one line in REPORT; the last line is "done"
// or "failed: ...".
#include <QDirIterator>
#include <QFile>
#include <QGenericPlugin>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTimer>
#include <functional>
#include <vector>

namespace {

constexpr int kPollMs = 100;
// Each step's own limit; the check that runs the application has one for the whole run too.
constexpr int kStepLimitMs = 60000;

QQuickItem* findItem(QQuickItem* item, const std::function<bool(QQuickItem*)>& matches)
{
    if (!item)
        return nullptr;
    if (matches(item))
        return item;
    const QList<QQuickItem*> children = item->childItems();
    for (QQuickItem* child : children) {
        if (QQuickItem* found = findItem(child, matches))
            return found;
    }
    return nullptr;
}

class PackageProbe : public QObject
{
public:
    explicit PackageProbe(const QString& reportPath) : m_report(reportPath)
    {
        if (!m_report.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            qFatal("qx8probe: cannot write %s", qPrintable(reportPath));
        m_steps = {
            {"the start-up page", [this] { return visible("searchForDevicesButton"); },
             [this] {
                 reportWindowIcon();
                 compilePages();
                 click(visible("searchForDevicesButton"));
             }},
            {"\"Virtual QX8\" on the discovery page", [this] { return virtualDeviceListed(); },
             [this] { QMetaObject::invokeMethod(named("deviceTypeDialog"), "open"); }},
            {"the device-type dialog",
             [this] { return visible("deviceTypeDialog") && okButton("deviceTypeDialog"); },
             [this] { click(okButton("deviceTypeDialog")); }},
            {"the offline model's home screen", [this] { return offlineHomeShown(); }, [] {}},
        };
        connect(&m_timer, &QTimer::timeout, this, &PackageProbe::poll);
        m_timer.start(kPollMs);
    }

private:
    struct Step
    {
        const char* reached;
        std::function<bool()> isReached;
        std::function<void()> next;
    };

    void write(const QString& line)
    {
        m_report.write(line.toUtf8() + '\n');
        m_report.flush();
    }

    void poll()
    {
        if (m_step == m_steps.size())
            return;
        const Step& step = m_steps.at(m_step);
        if (!step.isReached()) {
            m_waitedMs += kPollMs;
            if (m_waitedMs > kStepLimitMs) {
                write(QStringLiteral("failed: waited %2 s for %1")
                          .arg(QLatin1String(step.reached))
                          .arg(kStepLimitMs / 1000));
                m_timer.stop();
            }
            return;
        }
        write(QStringLiteral("reached %1").arg(QLatin1String(step.reached)));
        m_waitedMs = 0;
        ++m_step;
        step.next();
        if (m_step == m_steps.size()) {
            write(QStringLiteral("done"));
            m_timer.stop();
        }
    }

    QQuickItem* root() const
    {
        const QWindowList windows = QGuiApplication::topLevelWindows();
        for (QWindow* window : windows) {
            auto* view = qobject_cast<QQuickView*>(window);
            if (view && view->isVisible() && view->rootObject())
                return view->rootObject();
        }
        return nullptr;
    }

    QQuickItem* named(const char* objectName) const
    {
        return findItem(root(), [objectName](QQuickItem* item) {
            return item->objectName() == QLatin1String(objectName);
        });
    }

    QQuickItem* visible(const char* objectName) const
    {
        QQuickItem* item = named(objectName);
        return item && item->isVisible() ? item : nullptr;
    }

    QQuickItem* okButton(const char* dialogName) const
    {
        return findItem(named(dialogName), [](QQuickItem* item) {
            return item->objectName() == QLatin1String("dialogOkButton") && item->isVisible();
        });
    }

    bool virtualDeviceListed() const
    {
        return visible("discoveryPage") && findItem(root(), [](QQuickItem* item) {
                   return item->objectName() == QLatin1String("deviceName") && item->isVisible() &&
                          item->property("text").toString() == QLatin1String("Virtual QX8");
               });
    }

    bool offlineHomeShown() const
    {
        QQuickItem* top = root();
        if (!top)
            return false;
        const QObject* pageLoader = top->findChild<QObject*>(QStringLiteral("pageLoader"));
        const QObject* viewLoader = qmlEngine(top)
                                        ->rootContext()
                                        ->contextProperty(QStringLiteral("viewLoader"))
                                        .value<QObject*>();
        return pageLoader && viewLoader &&
               pageLoader->property("source").toString().endsWith(
                   QLatin1String("QX8HomeScreen.qml")) &&
               viewLoader->property("offlineMode").toBool();
    }

    // A press and a release at the item's centre, as the window system delivers a click.
    void click(QQuickItem* item)
    {
        QQuickWindow* window = item ? item->window() : nullptr;
        if (!window) {
            write(QStringLiteral("failed: nothing to click"));
            m_timer.stop();
            return;
        }
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        const QPointF global = window->mapToGlobal(centre.toPoint());
        QMouseEvent press(QEvent::MouseButtonPress, centre, centre, global, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QGuiApplication::sendEvent(window, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, centre, global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QGuiApplication::sendEvent(window, &release);
    }

    // What the window gives the window manager and the task bar.
    void reportWindowIcon()
    {
        const QIcon icon = root()->window()->icon();
        QStringList sizes;
        const QList<QSize> available = icon.availableSizes();
        for (const QSize& size : available)
            sizes << QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        write(icon.isNull() ? QStringLiteral("window icon: none")
                            : QStringLiteral("window icon: %1").arg(sizes.join(QLatin1Char(' '))));
    }

    // Every page the application carries, compiled by its own engine: an import that the
    // installed modules cannot satisfy fails here even if no step below shows that page.
    void compilePages()
    {
        QQmlEngine* engine = qmlEngine(root());
        int pages = 0;
        QDirIterator files(QStringLiteral(":/qml"), {QStringLiteral("*.qml")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QQmlComponent page(engine, QUrl(QStringLiteral("qrc") + files.next()),
                               QQmlComponent::PreferSynchronous);
            ++pages;
            const QList<QQmlError> errors = page.errors();
            for (const QQmlError& error : errors)
                write(QStringLiteral("page fault: %1").arg(error.toString()));
        }
        write(QStringLiteral("compiled %1 pages").arg(pages));
    }

    QFile m_report;
    QTimer m_timer;
    std::vector<Step> m_steps;
    size_t m_step = 0;
    int m_waitedMs = 0;
};

class PackageProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "packageprobe.json")

public:
    QObject* create(const QString& key, const QString& argument) override
    {
        if (key != QLatin1String("qx8probe") || argument.isEmpty())
            return nullptr;
        return new PackageProbe(argument);
    }
};

} // namespace

#include "packageprobe.moc"
