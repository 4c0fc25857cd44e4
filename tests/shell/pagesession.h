#pragma once

#include "shellfixture.h"
#include "virtualprocessor.h"

#include "devicemodel.h"

#include <QList>
#include <QPointer>
#include <QQuickItem>
#include <QSet>
#include <QStringList>
#include <functional>

class QQuickItem;
class QX8Control;

// The bound controls with both names in and below `object`, through object and item children
// alike, leaving out `skipped` and what lies below it.
QList<QX8Control*> boundControlsUnder(QObject* object, QSet<QObject*> skipped = {});

// One data row ("page" and "selector" columns) per page of `model` that `take` accepts and per
// selector of the page.
void addPageRows(const DeviceModel& model,
                 const std::function<bool(const DeviceModel::Screen&)>& take);

// The application in the test process, logged in to a VirtualQX8 of its own, with the means to
// open its pages: loaded as the screen loader loads them, or asked for through the GUI signals
// as the home screen asks. Used by the page tests, the page-load benchmark and the screenshot
// tool alike.
class PageSession
{
public:
    PageSession() = default;
    ~PageSession();
    PageSession(const PageSession&) = delete;
    PageSession& operator=(const PageSession&) = delete;

    // Starts the device (with `deviceArguments`) and the application, and logs in; true once the
    // home screen is shown and the window's own controls have their values.
    bool start(const QStringList& deviceArguments = {});
    // Disconnects the link and ends the device (also done on destruction).
    void stop();

    VirtualProcessor& device() { return m_device; }
    ShellFixture& shell() { return m_shell; }

    // Loads `page` into the page loader as the screen loader does, after writing `selector` to
    // the page's selector setting (when the device model gives it one).
    bool load(const QString& page, const QString& selector = QString());
    // Loads no page at all: the window with its menu-bar-less root only. Returns once the page
    // is gone and the device has every line it sent.
    void unload();
    // From the home screen, the GUI signal a block button sends; true once `page` is shown.
    bool open(const QString& param, const QString& payload, const QString& page);
    // True once `page` is the loaded page, and not `replaced`, within the harness time-out.
    bool waitForPage(const QString& page, const QPointer<QQuickItem>& replaced = {}) const;

    // True once a frame has been drawn from now on: every item of the page then stands where its
    // positioners and layouts put it, where a click finds it.
    bool waitForFrame() const;
    // The bound controls of the loaded page that have both names.
    QList<QX8Control*> pageControls() const;
    // Waits up to `timeoutMs` until every bound control of the page has its device value;
    // returns those still waiting.
    QList<QX8Control*> waitForValues(int timeoutMs) const;
    // The paths the device holds subscriptions for.
    QStringList subscriptions();

    // The first visible item named `objectName` in the window, looked up afresh (pages reload).
    QQuickItem* item(const QString& objectName) const;
    // The same, once it is shown and enabled, within the harness time-out; null when it is not.
    QQuickItem* waitForItem(const QString& objectName) const;
    // Clicks the item as its user would (its clicked() signal), once it is shown and enabled.
    bool click(const QString& objectName) const;

private:
    static QList<QX8Control*> waitForValuesOf(const std::function<QList<QX8Control*>()>& controls,
                                              int timeoutMs);

    bool m_started = false;
    VirtualProcessor m_device;
    ShellFixture m_shell;
};
