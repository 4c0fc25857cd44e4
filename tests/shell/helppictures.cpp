// Makes the help pictures from the application itself: logged in to a VirtualQX8, it opens each
// screen as a user does, waits for its values, takes a picture of the window and draws the
// numbered call-outs and the legend that images/Help/pictures.json gives for it.
// scripts/help-pictures.sh runs it under Xvfb inside the loopback-only namespace; it is
// configured through the environment:
//   QX8_HELP_PICTURES  the call-out file (images/Help/pictures.json)
//   QX8_HELP_DIR       folder for the JPEG files
//   QX8_HELP_STORAGE   the device's storage folder, seeded with tunings: served over FTP
//   QX8_HELP_ONLY      one picture's file name: make that one alone
//   QX8_HELP_DUMP      set: also print every visible item of each screen (its type, name, text
//                      and place), to write the call-outs' locators from
//
// An entry of the call-out file:
//   {"file": "Parametric-EQ.jpg", "title": "Parametric EQ",
//    "steps": ["open PEQ|High|QX8PEQ.qml"],
//    "callouts": [{"at": "text:HIGH", "text": "What the control does"}, ...]}
// Steps, in order: "open PARAM|PAYLOAD|PAGE" (the GUI signal a home-screen button sends, then
// the page awaited), "click LOCATOR", "page PAGE" (awaited in the page loader), "wait LOCATOR"
// (until it shows), "gone LOCATOR" (until it no longer shows), "settings KEY=VALUE;..."
// (written, then the home-screen model re-read).
// A locator is "name:OBJECTNAME", "text:TEXT" or "type:QMLTYPE", optionally followed by "#N" for
// the Nth visible match; the call-out frames the item it finds. "LOCATOR + LOCATOR" frames both
// and what lies between them (a row of buttons); "LOCATOR, LOCATOR" frames each apart under one
// number (cells that a grid does not put side by side).
#include "helppicturelayout.h"
#include "homescreenmodel.h"
#include "pagesession.h"
#include "qx8settings.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"

#include <QCursor>
#include <QDir>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>
#include <cstdio>

namespace {

bool isShown(const QQuickItem* item)
{
    return item->isVisible() && item->opacity() > 0 && item->width() > 0 && item->height() > 0;
}

void collectShown(QQuickItem* item, QList<QQuickItem*>* shown)
{
    if (!isShown(item))
        return;
    shown->append(item);
    for (QQuickItem* child : item->childItems())
        collectShown(child, shown);
}

QString typeName(const QQuickItem* item)
{
    const QString name = QString::fromLatin1(item->metaObject()->className());
    const int qmlSuffix = name.indexOf(QLatin1String("_QML"));
    return qmlSuffix < 0 ? name : name.left(qmlSuffix);
}

bool matches(const QQuickItem* item, const QString& kind, const QString& value)
{
    if (kind == QLatin1String("name"))
        return item->objectName() == value;
    if (kind == QLatin1String("text"))
        return item->property("text").toString() == value;
    return kind == QLatin1String("type") && typeName(item) == value;
}

// The item `locator` names in the window, or null.
QQuickItem* locate(QQuickItem* root, const QString& locator)
{
    const int colon = locator.indexOf(':');
    const int hash = locator.lastIndexOf('#');
    const QString kind = locator.left(colon);
    const QString value = locator.mid(colon + 1, hash < 0 ? -1 : hash - colon - 1);
    int wanted = hash < 0 ? 1 : locator.mid(hash + 1).toInt();
    QList<QQuickItem*> shown;
    collectShown(root, &shown);
    for (QQuickItem* item : shown) {
        if (matches(item, kind, value) && --wanted == 0)
            return item;
    }
    return nullptr;
}

// Where the window shows text (the letters, not the whole of a wide text item): the help
// picture's badges keep off it.
QVector<QRectF> textAreas(QQuickItem* root)
{
    QList<QQuickItem*> shown;
    collectShown(root, &shown);
    QVector<QRectF> areas;
    for (const QQuickItem* item : shown) {
        if (!item->inherits("QQuickText") || item->property("text").toString().isEmpty())
            continue;
        const qreal width = qMin(item->property("contentWidth").toReal(), item->width());
        const qreal height = qMin(item->property("contentHeight").toReal(), item->height());
        const int alignment = item->property("horizontalAlignment").toInt();
        const qreal left = alignment & Qt::AlignRight     ? item->width() - width
                           : alignment & Qt::AlignHCenter ? (item->width() - width) / 2
                                                          : 0;
        areas.append(item->mapRectToScene(QRectF(left, 0, width, height)));
    }
    return areas;
}

void dump(QQuickItem* root)
{
    QList<QQuickItem*> shown;
    collectShown(root, &shown);
    for (const QQuickItem* item : shown) {
        const QRectF area = item->mapRectToScene(item->boundingRect());
        std::printf("  %s name=%s text=%s at %.0f,%.0f %.0fx%.0f\n", qPrintable(typeName(item)),
                    qPrintable(item->objectName()),
                    qPrintable(item->property("text").toString().left(40)), area.x(), area.y(),
                    area.width(), area.height());
    }
}

} // namespace

class HelpPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void makePictures();

private:
    bool runStep(const QString& step);
    QVector<HelpPictureLayout::Callout> callouts(const QJsonArray& entries, QString* missing);

    PageSession m_session;
};

bool HelpPictures::runStep(const QString& step)
{
    const int blank = step.indexOf(' ');
    const QString verb = step.left(blank);
    const QString argument = step.mid(blank + 1);
    QQuickItem* root = m_session.shell().loader()->view()->contentItem();
    if (verb == QLatin1String("open")) {
        const QStringList parts = argument.split('|');
        return parts.size() == 3 && m_session.open(parts[0], parts[1], parts[2]);
    }
    if (verb == QLatin1String("page"))
        return m_session.waitForPage(argument);
    if (verb == QLatin1String("wait") || verb == QLatin1String("gone")) {
        const bool shown = verb == QLatin1String("wait");
        return QTest::qWaitFor([&] { return (locate(root, argument) != nullptr) == shown; },
                               qx8test::timeoutMs());
    }
    if (verb == QLatin1String("click")) {
        QQuickItem* item = locate(root, argument);
        if (!item)
            return false;
        const QPointF centre = item->mapToScene(item->boundingRect().center());
        QTest::mouseClick(item->window(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        return true;
    }
    if (verb == QLatin1String("settings")) {
        QX8Settings settings;
        for (const QString& setting : argument.split(';')) {
            const int equals = setting.indexOf('=');
            if (equals <= 0)
                return false;
            settings.setValue(setting.left(equals), setting.mid(equals + 1));
        }
        m_session.shell().root()->findChild<HomeScreenModel*>()->refreshConfig();
        return true;
    }
    return false;
}

QVector<HelpPictureLayout::Callout> HelpPictures::callouts(const QJsonArray& entries,
                                                           QString* missing)
{
    QQuickItem* root = m_session.shell().loader()->view()->contentItem();
    const QRectF window(QPointF(), root->size());
    QVector<HelpPictureLayout::Callout> result;
    for (const QJsonValue& entry : entries) {
        HelpPictureLayout::Callout callout{{}, entry[QLatin1String("text")].toString()};
        for (const QString& group :
             entry[QLatin1String("at")].toString().split(QStringLiteral(", "))) {
            QRectF area;
            for (const QString& locator : group.split(QStringLiteral(" + "))) {
                QQuickItem* item = locate(root, locator);
                if (!item) {
                    *missing = locator;
                    return {};
                }
                area |= item->mapRectToScene(item->boundingRect());
            }
            callout.areas.append(area & window);
        }
        result.append(callout);
    }
    return result;
}

void HelpPictures::makePictures()
{
    const QDir out(qEnvironmentVariable("QX8_HELP_DIR"));
    QVERIFY2(out.exists(), "QX8_HELP_DIR names no folder");
    const QJsonArray pictures =
        QJsonDocument::fromJson(qx8test::fileContent(qEnvironmentVariable("QX8_HELP_PICTURES")))
            .array();
    QVERIFY2(!pictures.isEmpty(), "QX8_HELP_PICTURES names no call-out file");
    const QString only = qEnvironmentVariable("QX8_HELP_ONLY");
    const bool dumping = qEnvironmentVariableIsSet("QX8_HELP_DUMP");

    QVERIFY(m_session.start(
        {"--ftp-port", "21", "--storage", qEnvironmentVariable("QX8_HELP_STORAGE")}));
    QQuickView* view = m_session.shell().loader()->view();
    QCursor::setPos(view->screen(), QPoint(0, 0)); // no hover effects in the pictures
    view->setMaximumSize(QSize(1024, 768));
    view->resize(1024, 768);

    for (const QJsonValue& picture : pictures) {
        const QString file = picture[QLatin1String("file")].toString();
        if (!only.isEmpty() && file != only)
            continue;
        for (const QJsonValue& step : picture[QLatin1String("steps")].toArray())
            QVERIFY2(runStep(step.toString()), qPrintable(file + ": " + step.toString()));
        const QList<QX8Control*> waiting = m_session.waitForValues(qx8test::timeoutMs());
        QVERIFY2(waiting.isEmpty(), qPrintable(file + ": controls without their value"));
        QTest::qWait(700); // the graphs' settle period and a repaint
        if (dumping) {
            std::printf("%s\n", qPrintable(file));
            dump(view->contentItem());
        }
        QString missing;
        const QVector<HelpPictureLayout::Callout> marks =
            callouts(picture[QLatin1String("callouts")].toArray(), &missing);
        QVERIFY2(missing.isEmpty(), qPrintable(file + ": nothing shown at " + missing));
        const QImage composed = HelpPictureLayout::compose(
            view->grabWindow(), picture[QLatin1String("title")].toString(), marks,
            textAreas(view->contentItem()));
        QVERIFY2(!composed.isNull(), qPrintable(file + ": the legend does not fit"));
        QImageWriter writer(out.filePath(file), "jpeg");
        // Small enough to carry two dozen of them, with the page's text still sharp.
        writer.setQuality(40);
        writer.setOptimizedWrite(true);
        writer.setProgressiveScanWrite(true);
        QVERIFY2(writer.write(composed), qPrintable(file + ": " + writer.errorString()));
        std::printf("%s\n", qPrintable(out.filePath(file)));
    }
    m_session.stop();
}

QX8_TEST_MAIN(HelpPictures)
#include "helppictures.moc"
