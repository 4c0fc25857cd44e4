// Pictures of the application's pages, driven against VirtualQX8 as a user drives them: logged
// in, each page asked for from the home screen with its block button's GUI signal, shot once its
// values have arrived and its graphs have drawn. Any QML warning on the way fails the run.
// scripts/screenshots.sh runs it under Xvfb inside the loopback-only namespace; it is configured
// through the environment:
//   QX8_SHOTS_DIR     folder for the PNG files
//   QX8_SHOTS_SIZE    window size, "1024x768"
//   QX8_SHOTS_PAGES   one page a line: "name|param|payload|page file", optionally followed by
//                     "|key=value;key=value": settings written first, after which the home-screen
//                     model announces itself ready again, so that the root takes the
//                     configuration mode from them as after an edit; and by "|command;command":
//                     control commands for VirtualQX8 before the page opens (a set-up choice
//                     that changes the objects of the preset)
//   QX8_SHOTS_DEVICE  control commands for VirtualQX8 after login, one a line (other values)
#include "homescreenmodel.h"
#include "pagesession.h"
#include "qx8control.h"
#include "qx8settings.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"

#include <QCursor>
#include <QDir>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>

class PageScreenshots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void takeScreenshots();
};

void PageScreenshots::takeScreenshots()
{
    const QDir out(qEnvironmentVariable("QX8_SHOTS_DIR"));
    QVERIFY2(out.exists(), "QX8_SHOTS_DIR names no folder");
    const QStringList size = qEnvironmentVariable("QX8_SHOTS_SIZE", "1024x768").split('x');
    QCOMPARE(size.size(), 2);

    PageSession session;
    QVERIFY(session.start());
    // The first of `commands` the device does not take; empty when it takes them all.
    const auto commandDevice = [&session](const QStringList& commands) {
        for (const QString& command : commands) {
            if (!command.trimmed().isEmpty() && !session.device().command(command).startsWith("ok"))
                return command;
        }
        return QString();
    };
    QCOMPARE(commandDevice(qEnvironmentVariable("QX8_SHOTS_DEVICE").split('\n')), QString());
    QQuickView* view = session.shell().loader()->view();
    QCursor::setPos(view->screen(), QPoint(0, 0)); // no hover effects in the pictures
    view->setMaximumSize(QSize(size[0].toInt(), size[1].toInt()));
    view->resize(size[0].toInt(), size[1].toInt());

    for (const QString& line : qEnvironmentVariable("QX8_SHOTS_PAGES").split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QStringList page = line.split('|');
        QVERIFY2(page.size() >= 4 && page.size() <= 6, qPrintable(line));
        if (page.size() >= 5 && !page[4].isEmpty()) {
            QX8Settings settings;
            for (const QString& setting : page[4].split(';')) {
                const int equals = setting.indexOf('=');
                QVERIFY2(equals > 0, qPrintable(line));
                settings.setValue(setting.left(equals), setting.mid(equals + 1));
            }
            session.shell().root()->findChild<HomeScreenModel*>()->refreshConfig();
        }
        QCOMPARE(commandDevice(page.value(5).split(';')), QString());
        QVERIFY2(session.open(page[1], page[2], page[3]), qPrintable(line));
        const QList<QX8Control*> waiting = session.waitForValues(qx8test::timeoutMs());
        QVERIFY2(
            waiting.isEmpty(),
            qPrintable(
                QString("%1: %2 controls without their value").arg(page[0]).arg(waiting.size())));
        QTest::qWait(700); // the graphs' settle period and a repaint
        const QString file = out.filePath(page[0] + ".png");
        QVERIFY2(view->grabWindow().save(file), qPrintable(file));
        std::printf("%s\n", qPrintable(file));
    }
    session.stop();
}

QX8_TEST_MAIN(PageScreenshots)
#include "pagescreenshots.moc"
