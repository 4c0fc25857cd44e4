// The application's pictures: every one that a page, a wizard descriptor or a table of the code
// names is in the resources, each is drawn (never a plain panel), and the help overlay shows the
// current screen's picture until a click anywhere. QX8_SCREENSHOT_DIR, when set, receives a
// picture of the overlay.
#include "helppicturelayout.h"
#include "shellfixture.h"
#include "testharness.h"
#include "testmain.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>
#include <cmath>

namespace {

// Resource paths named in the sources: "/images/..." and "qrc:/images/..." in the pages and
// descriptors and the code's tables, and the help picture of each screen of the screen table.
QStringList namedPictures()
{
    const QRegularExpression path(QStringLiteral(R"((?:qrc:)?(/images/[\w+./-]+\.(?:png|jpg)))"));
    const QRegularExpression helpName(QStringLiteral(R"re("([\w-]+\.jpg)")re"));
    QStringList named;
    const QString root = qx8test::sourceDir();
    QDirIterator files(root, {"*.qml", "*.js", "*.xml", "*.cpp"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString relative = file.mid(root.size() + 1);
        if (!relative.startsWith("qml/") && !relative.startsWith("xml/") &&
            !relative.startsWith("sources/"))
            continue;
        const QString text = QString::fromUtf8(qx8test::fileContent(file));
        for (auto match = path.globalMatch(text); match.hasNext();)
            named << ':' + match.next().captured(1);
        if (relative != QLatin1String("sources/shell/viewloader.cpp"))
            continue;
        for (auto match = helpName.globalMatch(text); match.hasNext();) {
            const QString name = match.next().captured(1);
            // The discovery screen has no help picture: its name is in the table, the file is not.
            if (name != QLatin1String("HelpDiscovery.jpg"))
                named << QStringLiteral(":/images/Help/") + name;
        }
    }
    named.removeDuplicates();
    return named;
}

// A drawing has a clear ground, or is a whole picture in which no one colour takes nine tenths;
// either way something is drawn on it. A plain panel with a name on it is neither.
QString drawingFault(const QImage& image)
{
    if (image.isNull())
        return QStringLiteral("does not load");
    QHash<QRgb, int> counts;
    int clear = 0;
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            ++counts[line[x]];
            clear += qAlpha(line[x]) == 0;
        }
    }
    const int total = pixels.width() * pixels.height();
    int dominant = 0;
    for (const int count : counts)
        dominant = qMax(dominant, count);
    if (clear * 10 < total * 3 && dominant * 10 >= total * 9)
        return QStringLiteral("is a plain panel: one colour covers %1 %")
            .arg(100 * dominant / total);
    if (total - dominant < total / 100)
        return QStringLiteral("has almost nothing drawn on it");
    return QString();
}

// Clockwise from twelve o'clock, in degrees from -180 to 180, of `offset` from a centre.
double clockAngle(const QPointF& offset)
{
    return qRadiansToDegrees(std::atan2(offset.x(), -offset.y()));
}

// The angles (whole degrees) at which `image` has anything drawn between `inner` and `outer`
// times its half width from its centre.
QSet<int> markedAngles(const QImage& image, double inner, double outer)
{
    const QPointF centre(image.width() / 2.0, image.height() / 2.0);
    const double half = image.width() / 2.0;
    QSet<int> marked;
    for (int degrees = -180; degrees < 180; ++degrees) {
        const double radians = qDegreesToRadians(double(degrees));
        for (double r = inner * half; r < outer * half; r += 1.0) {
            const QPoint at =
                (centre + QPointF(std::sin(radians), -std::cos(radians)) * r).toPoint();
            if (qAlpha(image.pixel(at)) > 128) {
                marked.insert(degrees);
                break;
            }
        }
    }
    return marked;
}

// The runs of columns of `image` that have anything drawn between rows `top` and `bottom`,
// away from its frame, runs closer than `gap` pixels counted as one.
int inkRuns(const QImage& image, int top, int bottom, int gap)
{
    int runs = 0;
    int blank = gap;
    for (int x = 8; x < image.width() - 8; ++x) {
        bool ink = false;
        for (int y = top; y < bottom && !ink; ++y)
            ink = qAlpha(image.pixel(x, y)) > 64;
        if (ink && blank >= gap)
            ++runs;
        blank = ink ? 0 : blank + 1;
    }
    return runs;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namedPicturesExist();
    void picturesAreDrawn();
    void dialPointerMeetsItsScale();
    void helpOverlayShowsPictureUntilClicked();
    void helpBadgesStandBesideTheirFrames();
    void mixerOutputNamesStandApart_data();
    void mixerOutputNamesStandApart();
};

void TestPictures::namedPicturesExist()
{
    const QStringList named = namedPictures();
    // The dial, the wizard choices and scenes, the help pictures, the icons: far more than this.
    QVERIFY2(named.size() > 50, qPrintable(QString::number(named.size())));
    QStringList missing;
    for (const QString& resource : named) {
        if (!QFileInfo(resource).isFile())
            missing << resource;
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
    QVERIFY(!QFileInfo::exists(":/images/Help/HelpDiscovery.jpg"));
}

void TestPictures::picturesAreDrawn()
{
    QStringList faults;
    int pictures = 0;
    QDirIterator files(":/images", QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        ++pictures;
        const QString fault = drawingFault(QImage(file));
        if (!fault.isEmpty())
            faults << file + ' ' + fault;
    }
    QVERIFY2(pictures > 120, qPrintable(QString::number(pictures)));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

// The page turns the pointer by 2.7 degrees a percent: unturned it must stand on the scale's 0 %,
// turned by 270 degrees on its 100 %, and the scale runs between the two.
void TestPictures::dialPointerMeetsItsScale()
{
    const QImage scale =
        QImage(":/images/Wizards/DialUL.png").convertToFormat(QImage::Format_ARGB32);
    const QImage pointer =
        QImage(":/images/Wizards/DialOL.png").convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(scale.size(), pointer.size());
    QCOMPARE(scale.width(), scale.height()); // turned about its centre

    // The pointer: the accent-coloured pixels, strongly blue.
    QPointF sum;
    int count = 0;
    const QPointF centre(pointer.width() / 2.0, pointer.height() / 2.0);
    for (int y = 0; y < pointer.height(); ++y) {
        for (int x = 0; x < pointer.width(); ++x) {
            const QRgb pixel = pointer.pixel(x, y);
            if (qAlpha(pixel) > 200 && qBlue(pixel) > 200 && qRed(pixel) < 150) {
                sum += QPointF(x + 0.5, y + 0.5) - centre;
                ++count;
            }
        }
    }
    QVERIFY(count > 0);
    const double zero = clockAngle(sum / count);

    // The scale's ticks and arc, inside its numbers: every angle from the pointer's 0 % to 270
    // degrees on, and none in the gap beyond.
    const QSet<int> marked = markedAngles(scale, 0.6, 0.85);
    const auto normalised = [](double degrees) {
        return int(std::lround(std::remainder(degrees, 360.0)));
    };
    for (int step = 2; step <= 268; ++step)
        QVERIFY2(marked.contains(normalised(zero + step)), qPrintable(QString::number(step)));
    for (int step = 274; step <= 356; ++step)
        QVERIFY2(!marked.contains(normalised(zero + step)), qPrintable(QString::number(step)));
}

void TestPictures::helpOverlayShowsPictureUntilClicked()
{
    ShellFixture shell;
    QVERIFY(shell.start());
    QQuickItem* root = shell.root();
    QQuickItem* overlay = root->findChild<QQuickItem*>("helpOverlay");
    QVERIFY(overlay);
    QVERIFY(!overlay->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(overlay->window()));

    QQmlProperty::write(root, "strHelpFileName", "/images/Help/Utilities.jpg");
    QMetaObject::invokeMethod(root, "showHelp");
    QVERIFY(overlay->isVisible());
    auto* picture = overlay->findChild<QQuickItem*>("helpPicture");
    QTRY_COMPARE(picture->property("status").toInt(), 1); // Image.Ready
    QCOMPARE(picture->property("sourceSize").toSize(),
             QImage(":/images/Help/Utilities.jpg").size());
    QQuickItem* hint = ShellFixture::visibleItem(overlay, "helpCloseHint");
    QVERIFY(hint);
    QCOMPARE(hint->property("text").toString(), QString("Click anywhere to close"));
    shell.screenshot("help-overlay.png");

    QTest::mouseClick(overlay->window(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QTRY_VERIFY(!overlay->isVisible());
}

// A numbered badge covers neither the control it points at nor any other framed one, nor another
// badge: on a gate-like page with a graph against the screenshot's edge, a two-column grid of cells
// framed one by one and a button in the top right corner. Badges stand on the screenshot or just
// beside or under it, a frame round all of the screenshot's included.
void TestPictures::helpBadgesStandBesideTheirFrames()
{
    const QRectF shot(16, 44, 640, 480);
    const QVector<QVector<QRectF>> frames = {
        {QRectF(17, 130, 340, 340)}, // the graph, at the left edge
        {QRectF(600, 96, 50, 24)},   // a button in the top right corner
        {QRectF(420, 130, 110, 50), QRectF(535, 130, 110, 50), QRectF(420, 183, 110, 50)},
        {QRectF(535, 183, 110, 50), QRectF(420, 236, 110, 50), QRectF(535, 236, 110, 50)},
    };
    const QVector<QPointF> centres = HelpPictureLayout::badgeCentres(shot, frames);
    QCOMPARE(centres.size(), frames.size());
    const double r = HelpPictureLayout::kBadgeRadius;
    const QRectF room = shot.adjusted(0, 0, 4 * r, 4 * r);
    const auto badge = [r](const QPointF& centre) {
        return QRectF(centre - QPointF(r, r), QSizeF(2 * r, 2 * r));
    };
    for (int i = 0; i < centres.size(); ++i) {
        QVERIFY2(room.contains(badge(centres[i])), qPrintable(QString::number(i + 1)));
        for (int j = i + 1; j < centres.size(); ++j)
            QVERIFY2(QLineF(centres[i], centres[j]).length() > 2 * r,
                     qPrintable(QStringLiteral("badges %1 and %2").arg(i + 1).arg(j + 1)));
        for (const QVector<QRectF>& callout : frames) {
            for (const QRectF& frame : callout)
                QVERIFY2(!frame.intersects(badge(centres[i])),
                         qPrintable(QStringLiteral("badge %1 on a frame").arg(i + 1)));
        }
    }

    const QRectF whole = shot.adjusted(1, 1, -1, -1);
    const QVector<QPointF> inside = HelpPictureLayout::badgeCentres(shot, {{whole}});
    QVERIFY(room.contains(badge(inside.value(0))));
}

void TestPictures::mixerOutputNamesStandApart_data()
{
    QTest::addColumn<QString>("picture");
    QTest::newRow("raise, a corner of the Nuq graph page") << "RaiseMixerOutputs.png";
    QTest::newRow("lower") << "LowerMixerOutputs.png";
}

// "L", "R", "MON 1" and "MON 2" under the faders read as four names, however small the picture
// (the monitor names once ran together).
void TestPictures::mixerOutputNamesStandApart()
{
    QFETCH(QString, picture);
    const QImage image = QImage(QStringLiteral(":/images/Wizards/") + picture)
                             .convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!image.isNull());
    // Drawn at twice its size; the names stand between 42 and 28 units above its foot.
    const int units = image.height() / 2;
    const int scale = 2;
    // Wider than the space inside "MON 1", narrower than a gap between two names.
    const int gap = 6 * scale;
    QCOMPARE(inkRuns(image, scale * (units - 42), scale * (units - 28), gap), 4);
}

QX8_TEST_MAIN(TestPictures)
#include "tst_pictures.moc"
