#pragma once

#include "shellfixture.h"
#include "virtualprocessor.h"

#include <QStringList>
#include <functional>

class QQuickItem;
class QQuickView;

// The application logged in to a VirtualQX8 and driven on its wizard screen as a user drives it:
// clicks on rows and buttons, states forced through the device, pages waited for. With
// QX8_SCREENSHOT_DIR set, screenshot() saves a picture of the window there.
class WizardScreenFixture
{
public:
    // Starts both and logs in; false when that failed.
    bool start();

    VirtualProcessor& device() { return m_device; }
    ShellFixture& shell() { return m_shell; }

    // The page in the wizard screen's loader, and its title.
    QQuickItem* page() const;
    QString pageTitle() const;
    bool showsPage(const QString& objectName) const;
    // The first visible item called `objectName` below `within` (the window when null).
    QQuickItem* visibleItem(const QString& objectName, QQuickItem* within = nullptr) const;
    QList<QQuickItem*> itemsNamed(const QString& objectName, QQuickItem* within = nullptr) const;

    void click(QQuickItem* item);
    // Clicks the centre of the item `locate` finds once it has stopped moving.
    void clickWhere(const std::function<QQuickItem*()>& locate);
    // One step of a mouse wheel over the item, up for a positive delta.
    void wheel(QQuickItem* item, int delta);
    void clickRow(const QString& text, const QString& rowName = QStringLiteral("wizardChoiceRow"));
    void clickButton(const QString& objectName);
    // Clicks into the field, replaces its text with `text` by keys, and presses Return.
    void typeInto(QQuickItem* field, const QString& text);

    // A command to the device that must succeed; its answer.
    QString command(const QString& line);
    // `set "\\<path>\" "<value>"` on the device, as its front panel would.
    void setOnDevice(const QString& path, const QString& value);
    void forceState(const QString& state);
    // The wizard screen with the wizard menu, the device's wizards at rest.
    void showMenu();
    void waitForPage(const QString& objectName, const QString& state);
    // The `set` lines the device received from line `from` on.
    QStringList writes(int from) const;

    void screenshot(const QString& name) const;

private:
    VirtualProcessor m_device;
    ShellFixture m_shell;
    QQuickView* m_view = nullptr;
};

// `set "<path>\" "<value>"`, the line of a write.
QString setLine(const QString& path, const QString& value);
