#include "pagesession.h"

#include "devicemodel.h"
#include "jsoncommandchannel.h"
#include "linkedprocessor.h"
#include "qx8control.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "viewloader.h"

#include <QPointer>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QQuickWindow>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <utility>

namespace {

void collectControls(QObject* object, QSet<QObject*>* seen, QList<QX8Control*>* controls)
{
    if (!object || seen->contains(object))
        return;
    seen->insert(object);
    if (auto* control = qobject_cast<QX8Control*>(object);
        control && !control->poName().isEmpty() && !control->svName().isEmpty())
        controls->append(control);
    for (QObject* child : object->children())
        collectControls(child, seen, controls);
    if (auto* item = qobject_cast<QQuickItem*>(object)) {
        for (QQuickItem* child : item->childItems())
            collectControls(child, seen, controls);
    }
}

} // namespace

PageSession::~PageSession()
{
    stop();
}

bool PageSession::start(const QStringList& deviceArguments)
{
    if (!m_device.start(deviceArguments))
        return false;
    m_started = true;
    QX8Settings settings;
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    if (!m_shell.start())
        return false;
    // The pages are what these sessions are about: the configuration model's question to the
    // device may wait for its answer as long as a session lasts.
    JsonCommandChannel::instance()->setTimeout(24 * 60 * 60 * 1000);
    // As after "Search For Devices": the start-up splash stays hidden from the next page on.
    QQmlProperty::write(m_shell.root(), QStringLiteral("startUpScreenVisible"), false);
    m_shell.guiSignal(QStringLiteral("ConnectDevice"),
                      m_device.address() + QStringLiteral(":quillrampstow"));
    ViewLoader* loader = m_shell.loader();
    // The root goes home again when the current preset's name first arrives: a page opened
    // before that would be left at once. The crossover's block opens once the home screen knows
    // the bands and has left them in the settings, where the crossover and delay pages read them.
    return QTest::qWaitFor([&] { return loader->isActive(ViewLoader::HomeScreen); },
                           qx8test::timeoutMs()) &&
           waitForValuesOf([this] { return boundControlsUnder(m_shell.root()); },
                           qx8test::timeoutMs())
               .isEmpty() &&
           waitForItem(QStringLiteral("block_Crossover_Low"));
}

void PageSession::stop()
{
    if (!std::exchange(m_started, false))
        return;
    unload();
    LinkedProcessor::disconnectAndStop(m_device);
}

bool PageSession::load(const QString& page, const QString& selector)
{
    const DeviceModel::Screen* screen = DeviceModel::fromResources().screen(page);
    if (screen && !screen->selectorKey.isEmpty())
        QX8Settings().setValue(screen->selectorKey, selector);
    QMetaObject::invokeMethod(m_shell.root(), "pageLoadSlot",
                              Q_ARG(QVariant, QStringLiteral("qrc:/qml/") + page),
                              Q_ARG(QVariant, QString()));
    return waitForPage(page);
}

// The loader deletes the page later, and until then its meters go on polling: the page is waited
// out, then a probe brings every line it sent to the device, so that what a next page asks for
// starts clean on the wire.
void PageSession::unload()
{
    QObject* pageLoader = m_shell.root()->findChild<QObject*>(QStringLiteral("pageLoader"));
    const QPointer<QQuickItem> page = m_shell.pageItem();
    QQmlProperty::write(pageLoader, QStringLiteral("source"), QString());
    if (!QTest::qWaitFor([&page] { return page.isNull(); }, qx8test::timeoutMs()))
        qWarning("The page outlived its unloading");
    if (TCPAdaptor::instance()->Ready())
        m_device.receivedUntilProbe([] { ShellFixture::sendProbe(); });
}

// The home screen asked for again loads itself again: it is asked for once, and the page that
// counts is the one made after the signals, not one they replace.
bool PageSession::open(const QString& param, const QString& payload, const QString& page)
{
    const QPointer<QQuickItem> shown = m_shell.pageItem();
    const QString home = QStringLiteral("HomeButtonPressed");
    if (param != home && !m_shell.loader()->isActive(ViewLoader::HomeScreen))
        m_shell.guiSignal(home);
    m_shell.guiSignal(param, payload);
    return waitForPage(page, shown);
}

bool PageSession::waitForPage(const QString& page, const QPointer<QQuickItem>& replaced) const
{
    QObject* pageLoader = m_shell.root()->findChild<QObject*>(QStringLiteral("pageLoader"));
    return qx8test::runEventsUntil(
        [&] {
            const QQuickItem* item = m_shell.pageItem();
            return item && (replaced.isNull() || item != replaced.data()) &&
                   QQmlProperty::read(pageLoader, QStringLiteral("source"))
                       .toString()
                       .endsWith(page);
        },
        qx8test::timeoutMs());
}

QList<QX8Control*> boundControlsUnder(QObject* object, QSet<QObject*> skipped)
{
    QList<QX8Control*> controls;
    collectControls(object, &skipped, &controls);
    return controls;
}

void addPageRows(const DeviceModel& model,
                 const std::function<bool(const DeviceModel::Screen&)>& take)
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("selector");
    for (const DeviceModel::Screen& screen : model.screens()) {
        if (!take(screen))
            continue;
        const QStringList selectors = screen.selectors();
        if (selectors.isEmpty())
            QTest::newRow(qPrintable(screen.page)) << screen.page << QString();
        for (const QString& selector : selectors)
            QTest::addRow("%s %s", qPrintable(screen.page), qPrintable(selector))
                << screen.page << selector;
    }
}

bool PageSession::waitForFrame() const
{
    QQuickWindow* view = m_shell.loader()->view();
    QSignalSpy drawn(view, &QQuickWindow::frameSwapped);
    view->update();
    return drawn.wait(qx8test::timeoutMs()) || !drawn.isEmpty();
}

QList<QX8Control*> PageSession::pageControls() const
{
    return boundControlsUnder(m_shell.pageItem());
}

QList<QX8Control*> PageSession::waitForValues(int timeoutMs) const
{
    return waitForValuesOf([this] { return pageControls(); }, timeoutMs);
}

QList<QX8Control*> PageSession::waitForValuesOf(const std::function<QList<QX8Control*>()>& controls,
                                                int timeoutMs)
{
    QList<QX8Control*> waiting;
    auto allArrived = [&] {
        waiting.clear();
        for (QX8Control* control : controls()) {
            if (!control->hasDeviceValue())
                waiting.append(control);
        }
        return waiting.isEmpty();
    };
    return qx8test::runEventsUntil(allArrived, timeoutMs) ? QList<QX8Control*>() : waiting;
}

QStringList PageSession::subscriptions()
{
    const QString answer = m_device.command(QStringLiteral("subscriptions"));
    const int blank = answer.indexOf(QLatin1Char(' '), 3);
    if (!answer.startsWith(QLatin1String("ok ")) || blank < 0)
        return {};
    return answer.mid(blank + 1).split(QStringLiteral(" | "));
}

QQuickItem* PageSession::item(const QString& objectName) const
{
    return ShellFixture::visibleItem(m_shell.root()->window()->contentItem(), objectName);
}

QQuickItem* PageSession::waitForItem(const QString& objectName) const
{
    QQuickItem* found = nullptr;
    const bool shown = QTest::qWaitFor(
        [&] { return (found = item(objectName)) && found->isEnabled(); }, qx8test::timeoutMs());
    return shown ? found : nullptr;
}

bool PageSession::click(const QString& objectName) const
{
    QQuickItem* button = waitForItem(objectName);
    return button && QMetaObject::invokeMethod(button, "clicked");
}
