#include "wizardscreenfixture.h"

#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "viewloader.h"

#include <QPointer>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QWheelEvent>

#include <QtTest>
#include <utility>

namespace {

// Through the visual tree: list rows are not the QObject children of their list.
void collectNamed(QQuickItem* from, const QString& objectName, QList<QQuickItem*>* found)
{
    if (!from)
        return;
    if (from->objectName() == objectName)
        found->append(from);
    for (QQuickItem* child : from->childItems())
        collectNamed(child, objectName, found);
}

} // namespace

QString setLine(const QString& path, const QString& value)
{
    return "set \"" + path + "\\\" \"" + value + '"';
}

bool WizardScreenFixture::start()
{
    QX8Settings settings;
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    if (!m_device.start() || !m_shell.start())
        return false;
    m_view = m_shell.loader()->view();
    m_shell.root()->setProperty("startUpScreenVisible", false);
    if (!QTest::qWaitForWindowExposed(m_view))
        return false;
    m_shell.guiSignal(QStringLiteral("ConnectDevice"),
                      m_device.address() + QStringLiteral(":quillrampstow"));
    return QTest::qWaitFor([] { return TCPAdaptor::instance()->Ready(); }, qx8test::timeoutMs());
}

QQuickItem* WizardScreenFixture::page() const
{
    QObject* loader = m_shell.root()->findChild<QObject*>(QStringLiteral("wizardPageLoader"));
    return loader ? qobject_cast<QQuickItem*>(
                        QQmlProperty::read(loader, QStringLiteral("item")).value<QObject*>())
                  : nullptr;
}

QString WizardScreenFixture::pageTitle() const
{
    QQuickItem* title = visibleItem(QStringLiteral("wizardPageTitle"), page());
    return title ? QQmlProperty::read(title, QStringLiteral("text")).toString() : QString();
}

QList<QQuickItem*> WizardScreenFixture::itemsNamed(const QString& objectName,
                                                   QQuickItem* within) const
{
    QList<QQuickItem*> found;
    collectNamed(within ? within : m_shell.root(), objectName, &found);
    return found;
}

QQuickItem* WizardScreenFixture::visibleItem(const QString& objectName, QQuickItem* within) const
{
    return ShellFixture::visibleItem(within ? within : m_shell.root(), objectName);
}

// Once the item has stopped moving: lists lay their rows out again after a change, and a list
// that is still moving takes a press for itself.
void WizardScreenFixture::click(QQuickItem* item)
{
    QVERIFY(item);
    const QPointer<QQuickItem> guarded(item);
    clickWhere([guarded] { return guarded.data(); });
}

// Found afresh on every try: a page may rebuild the item while it settles.
void WizardScreenFixture::clickWhere(const std::function<QQuickItem*()>& locate)
{
    const auto listsAtRest = [](QQuickItem* item) {
        for (QQuickItem* ancestor = item; ancestor; ancestor = ancestor->parentItem()) {
            if (ancestor->property("moving").toBool())
                return false;
        }
        return true;
    };
    QPointF centre(-1, -1);
    QQuickItem* settled = nullptr;
    QTRY_VERIFY([&] {
        QQuickItem* item = locate();
        if (!item)
            return false;
        const QPointF now = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        const bool sameItem = std::exchange(settled, item) == item;
        return sameItem && std::exchange(centre, now) == now && listsAtRest(item);
    }());
    QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void WizardScreenFixture::wheel(QQuickItem* item, int delta)
{
    QVERIFY(item);
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QWheelEvent event(centre, m_view->mapToGlobal(centre.toPoint()), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_view, &event);
}

// The first row holding a text item that reads `text`.
void WizardScreenFixture::clickRow(const QString& text, const QString& rowName)
{
    clickWhere([&]() -> QQuickItem* {
        for (QQuickItem* candidate : itemsNamed(rowName, page())) {
            for (QQuickItem* child : candidate->childItems()) {
                if (candidate->isVisible() &&
                    QQmlProperty::read(child, QStringLiteral("text")).toString() == text)
                    return candidate;
            }
        }
        return nullptr;
    });
}

void WizardScreenFixture::clickButton(const QString& objectName)
{
    clickWhere([&]() -> QQuickItem* {
        QQuickItem* button = visibleItem(objectName);
        return button && button->isEnabled() ? button : nullptr;
    });
}

void WizardScreenFixture::typeInto(QQuickItem* field, const QString& text)
{
    click(field);
    QTest::keyClick(m_view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_view, Qt::Key_Delete);
    for (const QChar character : text)
        QTest::keyClick(m_view, character.toLatin1());
    QTest::keyClick(m_view, Qt::Key_Return);
}

QString WizardScreenFixture::command(const QString& line)
{
    const QString answer = m_device.command(line);
    if (!answer.startsWith(QLatin1String("ok")))
        qWarning("VirtualQX8 refused \"%s\": %s", qPrintable(line), qPrintable(answer));
    return answer;
}

void WizardScreenFixture::setOnDevice(const QString& path, const QString& value)
{
    command(QStringLiteral("set \"\\\\%1\\\" \"%2\"").arg(path, value));
}

void WizardScreenFixture::forceState(const QString& state)
{
    setOnDevice(QStringLiteral("Node\\Wizard\\SV\\WizardState"), state);
}

// A menu page (options, run setup) goes back to the menu by the menu bar's wizard button.
void WizardScreenFixture::showMenu()
{
    forceState(QStringLiteral("Inactive"));
    m_shell.guiSignal(QStringLiteral("Wizard"));
    QTRY_VERIFY(m_shell.loader()->isActive(ViewLoader::Wizard));
    QObject* screen = m_shell.root()->findChild<QObject*>(QStringLiteral("wizardScreen"));
    QTRY_VERIFY(screen && screen->property("wizardState").toString() == "Inactive");
    if (page() && page()->objectName() != QLatin1String("wizardListPage"))
        clickButton(QStringLiteral("menuWizardButton"));
    waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("Inactive"));
}

bool WizardScreenFixture::showsPage(const QString& objectName) const
{
    return page() && page()->objectName() == objectName;
}

void WizardScreenFixture::waitForPage(const QString& objectName, const QString& state)
{
    QObject* screen = m_shell.root()->findChild<QObject*>(QStringLiteral("wizardScreen"));
    QTRY_VERIFY(screen && screen->property("wizardState").toString() == state);
    QTRY_VERIFY(showsPage(objectName));
    QCOMPARE(QX8Settings().value(settingskeys::kWizardCurrentState).toString(), state);
}

QStringList WizardScreenFixture::writes(int from) const
{
    QStringList lines;
    for (const QString& line : m_device.received().mid(from)) {
        if (line.startsWith(QLatin1String("set ")))
            lines << line;
    }
    return lines;
}

void WizardScreenFixture::screenshot(const QString& name) const
{
    const QString folder = qEnvironmentVariable("QX8_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QTest::qWait(700); // the graphs' settle period and a repaint
    if (!m_view->grabWindow().save(folder + '/' + name + ".png"))
        qWarning("Cannot save the picture %s in %s", qPrintable(name), qPrintable(folder));
}
