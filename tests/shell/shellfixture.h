#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

class ApplicationStartup;
class QQuickItem;
class QSignalSpy;
class ViewLoader;

// The application started in the test process exactly as main starts it, with helpers to raise
// GUI signals from the QML root and to watch the pages the screen loader loads. Warnings fail the
// test as in any other; the application's log file still gets every line.
class ShellFixture : public QObject
{
    Q_OBJECT

public:
    ShellFixture();
    ~ShellFixture() override;

    // False when start-up failed (for example another instance held the lock).
    bool start();

    ViewLoader* loader() const;
    QQuickItem* root() const;
    QQuickItem* pageItem() const;

    // Emits the QML root's guiSignal(param, payload), as a page does.
    void guiSignal(const QString& param, const QString& payload = QString());
    // Lets queued state-machine events and page loads run.
    static void settle();
    // Sends qx8test::kProbeRequest through the link, as the application's requests go.
    static void sendProbe();
    // The first visible item named `objectName` in and below `from`, through the item tree
    // (list delegates have no QObject parent); null when there is none.
    static QQuickItem* visibleItem(QQuickItem* from, const QString& objectName);
    // Saves a picture of the window as `name` in the folder QX8_SCREENSHOT_DIR names, when set.
    void screenshot(const QString& name) const;

    // The pages loaded since the last call: "<page file>|<help image name>".
    QStringList takeLoads();

private:
    std::unique_ptr<ApplicationStartup> m_startup;
    std::unique_ptr<QSignalSpy> m_loads;
};
