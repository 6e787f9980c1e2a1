#include "import/PageCleaner.h"
#include "GoldPlans.h"
#include "core/colour/FloodFill.h"
#include "import/DrawingFile.h"
#include "import/GifPageWriter.h"
#include "import/GoldSet.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

// Pages made from ordinary drawings: one press must fill a whole area and
// stop at its outline, whatever antialiasing, compression or dust the
// drawing brought with it.
class PageCleanerTest : public QObject {
    Q_OBJECT
private slots:
    void onePressFillsTheWholeArea_data();
    void onePressFillsTheWholeArea();
    void goldSetAreasStayWhole_data();
    void goldSetAreasStayWhole();
    void shadingDoesNotCutAnArea_data();
    void shadingDoesNotCutAnArea();
    void photographBecomesPage_data();
    void photographBecomesPage();
    void photographOrDrawingByLook_data();
    void photographOrDrawingByLook();
    void largestPictureIsRead();
};

namespace {

constexpr QSize kSize(400, 300);
constexpr QPoint kCentre(200, 150);
constexpr ColorRef kRed = rgbColour(255, 0, 0);

QImage canvas(const std::function<void(QPainter&)>& draw, QColor paper = Qt::white)
{
    QImage image(kSize, QImage::Format_RGB32);
    image.fill(paper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    draw(p);
    return image;
}

QImage circle()
{
    return canvas([](QPainter& p) { p.drawEllipse(QPointF(kCentre), 120, 120); });
}

QPainterPath disc(double radius)
{
    QPainterPath path;
    path.addEllipse(QPointF(kCentre), radius, radius);
    return path;
}

} // namespace

void PageCleanerTest::onePressFillsTheWholeArea_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QPainterPath>("inside");  // must be wholly filled
    QTest::addColumn<QPainterPath>("outline"); // nothing beyond it may be; empty: open area
    const QPainterPath inside = disc(117.5), outline = disc(122.5);

    QTest::newRow("antialiased circle") << circle() << inside << outline;
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    circle().save(&buffer, "JPEG", 50);
    QTest::newRow("JPEG noise") << QImage::fromData(jpeg) << inside << outline;
    // A break of 3 points at the right of the circle.
    const double gapDegrees = qRadiansToDegrees(3.0 / 120);
    QTest::newRow("small gap closed") << canvas([&](QPainter& p) {
        p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(80, 30, 240, 240), int(gapDegrees / 2 * 16), int((360 - gapDegrees) * 16));
    }) << inside << outline;
    QImage dusty = circle();
    QRandomGenerator random(3);
    for (int i = 0; i < 60; ++i) { // dust inside, pinholes in the line
        const double a = random.bounded(2 * M_PI), r = random.bounded(100.0);
        dusty.setPixel(kCentre + QPointF(r * std::cos(a), r * std::sin(a)).toPoint(), 0xff000000);
        dusty.setPixel(kCentre + QPointF(120 * std::cos(a), 120 * std::sin(a)).toPoint(),
                       0xffffffff);
    }
    QTest::newRow("specks removed") << dusty << inside << outline;
    // Two lines 3 points apart: a strip of paper open at both ends.
    QPainterPath strip;
    strip.addRect(QRectF(100, 148, 200, 3));
    // A closed strip 3 points across, slanted so its edges are antialiased.
    QPainterPath band;
    band.addRect(QRectF(-100, -1.5, 200, 3));
    band = QTransform().translate(200, 150).rotate(7).map(band);
    QPainterPath bandOutline;
    bandOutline.addRect(QRectF(-101.5, -3.5, 203, 7));
    bandOutline = QTransform().translate(200, 150).rotate(7).map(bandOutline);
    QTest::newRow("narrow closed strip stays whole") << canvas([&](QPainter& p) {
        p.translate(200, 150);
        p.rotate(7);
        p.drawRect(QRectF(-101, -2.5, 202, 5));
    }) << band << bandOutline;
    QTest::newRow("colour area becomes an outlined white area") << canvas([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 100, 40));
        p.drawEllipse(QPointF(kCentre), 120, 120);
    }) << disc(117) << disc(123);
    QPainterPath darkBand, bandRim; // as narrow as a bold line, and darker than black ink
    darkBand.addRect(QRectF(102, 146, 196, 8));
    bandRim.addRect(QRectF(97, 141, 206, 18));
    QTest::newRow("dark colour stays an area")
        << canvas([](QPainter& p) { p.fillRect(QRectF(100, 144, 200, 12), QColor(15, 60, 25)); })
        << darkBand << bandRim;
    QTest::newRow("faint line on grey paper kept")
        << canvas(
               [](QPainter& p) {
                   p.setPen(QPen(QColor(141, 141, 141), 1.5));
                   p.drawEllipse(QPointF(kCentre), 120, 120);
                   p.setPen(QPen(Qt::black, 6)); // dark lines elsewhere, apart
                   p.drawLine(30, 10, 370, 10);
                   p.drawLine(30, 290, 370, 290);
               },
               QColor(233, 233, 233))
        << inside << outline;
    QTest::newRow("narrow open corridor stays open") << canvas([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QPointF(100, 147.5), QPointF(300, 147.5));
        p.drawLine(QPointF(100, 151.5), QPointF(300, 151.5));
    }) << strip << QPainterPath();
}

void PageCleanerTest::onePressFillsTheWholeArea()
{
    QFETCH(QImage, picture);
    QFETCH(QPainterPath, inside);
    QFETCH(QPainterPath, outline);
    const PageCleaner::Result clean = PageCleaner::clean(picture);
    QImage page = clean.page.convertToFormat(QImage::Format_RGB32);
    QVERIFY(floodFill(page, kCentre.x(), kCentre.y(), kRed));
    int missed = 0, total = 0, leaked = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const bool red = fromQRgb(page.pixel(x, y)) == kRed;
            const QPointF at(x + 0.5, y + 0.5);
            if (inside.contains(at)) {
                ++total;
                missed += !red;
            }
            leaked += red && !outline.isEmpty() && !outline.contains(at);
        }
    }
    QVERIFY2(missed * 100 <= total,
             qPrintable(QStringLiteral("%1 of %2 missed").arg(missed).arg(total)));
    QCOMPARE(leaked, 0);
    if (outline.isEmpty()) // still open: the press reaches the paper around it
        QCOMPARE(fromQRgb(page.pixel(10, 10)), kRed);
    QCOMPARE(clean.closedAreas, outline.isEmpty() ? 0 : 1);
}

void PageCleanerTest::goldSetAreasStayWhole_data()
{
    QTest::addColumn<const GoldSet::Plan*>("plan");
    QTest::addColumn<QString>("format");
    for (const char* format : {"png", "jpeg50", "jpeg75", "scan", "svg", "pdf"})
        QTest::newRow(format) << &GoldSet::shapes() << QString::fromLatin1(format);
    // Strokes 8 to 16 points across stay solid: no paper inside them.
    QTest::newRow("bold strokes") << &GoldPlans::bold() << QStringLiteral("png");
    QTest::newRow("bold strokes, JPEG") << &GoldPlans::bold() << QStringLiteral("jpeg75");
    // Sky, hill and clouds apart though a gradient, a dark green and a light
    // grey outline lie between them.
    QTest::newRow("clip art") << &GoldPlans::clipArt() << QStringLiteral("png");
    QTest::newRow("clip art, JPEG") << &GoldPlans::clipArt() << QStringLiteral("jpeg85");
}

void PageCleanerTest::goldSetAreasStayWhole()
{
    QFETCH(const GoldSet::Plan*, plan);
    QFETCH(QString, format);
    const QSize size(600, 450);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("drawing.") + format);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(GoldSet::make(*plan, format, size));
    file.close();

    DrawingFile drawing(path, size);
    QCOMPARE(drawing.pageCount(), 1);
    const PageCleaner::Result clean = PageCleaner::clean(drawing.page(0));
    QCOMPARE(clean.page.size(), size);
    const QImage gif = QImage::fromData(GifPageWriter::encode(clean.page), "GIF");
    QCOMPARE(gif.convertToFormat(QImage::Format_Grayscale8), clean.page);
    const GoldSet::Quality q = GoldSet::measure(*plan, gif);
    QCOMPARE(q.whole, q.areas);
    QVERIFY2(q.strayPaper < 0.05, qPrintable(QString::number(q.strayPaper)));
    QCOMPARE(clean.closedAreas, q.areas);
}

void PageCleanerTest::shadingDoesNotCutAnArea_data()
{
    QTest::addColumn<QLineF>("mark"); // drawn in rows across the circle's middle
    QTest::addColumn<QSize>("step");
    QTest::newRow("stippling") << QLineF(0, 0, 0, 0) << QSize(4, 4);
    QTest::newRow("hatching") << QLineF(0, 0, 8, -5) << QSize(7, 14);
}

// Marks may stay for the colour to flow round, but cut no piece off.
void PageCleanerTest::shadingDoesNotCutAnArea()
{
    QFETCH(QLineF, mark);
    QFETCH(QSize, step);
    const QImage picture = canvas([&](QPainter& p) {
        p.drawEllipse(QPointF(kCentre), 120, 120);
        QRandomGenerator random(5);
        for (int x = -80; x < 80; x += step.width()) {
            for (int y = -80; y < 80; y += step.height())
                p.drawLine(mark.translated(kCentre + QPointF(x, y) +
                                           QPointF(random.bounded(3), random.bounded(3))));
        }
    });
    QImage page = PageCleaner::clean(picture).page.convertToFormat(QImage::Format_RGB32);
    QVERIFY(floodFill(page, kCentre.x(), kCentre.y(), kRed));
    int cutOff = 0, black = 0, ink = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QRgb at = page.pixel(x, y);
            cutOff += QLineF(QPointF(x, y), kCentre).length() < 117 && at == 0xffffffff;
            black += at == 0xff000000;
            ink += qGray(picture.pixel(x, y)) < 128;
        }
    }
    QCOMPARE(cutOff, 0);
    QVERIFY2(black <= ink * 3 / 2, qPrintable(QStringLiteral("%1 of %2").arg(black).arg(ink)));
}

void PageCleanerTest::photographBecomesPage_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("seed");
    QTest::addColumn<PageCleaner::Treatment>("treatment");
    QTest::addColumn<bool>("soft");
    const auto byLook = PageCleaner::Treatment::ByLook;
    QTest::newRow("photograph") << QByteArray("JPEG") << 1 << byLook << false;
    QTest::newRow("busy photograph") << QByteArray("PNG") << 3 << byLook << false;
    QTest::newRow("forced") << QByteArray("JPEG") << 4 << PageCleaner::Treatment::Photo << false;
    // Out of focus all over: smooth, with no grain, yet a photograph.
    QTest::newRow("soft photograph") << QByteArray("JPEG") << 2 << byLook << true;
}

// Areas a child can colour: 12 to 150, none under 0.1 % or over 40 % of the page.
void PageCleanerTest::photographBecomesPage()
{
    QFETCH(QByteArray, format);
    QFETCH(int, seed);
    QFETCH(PageCleaner::Treatment, treatment);
    QFETCH(bool, soft);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage photo = GoldSet::photo(QSize(800, 600), seed);
    if (soft)
        photo = photo.scaled(50, 38, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .scaled(800, 600, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY(photo.save(&buffer, format.constData(), 90));
    const PageCleaner::Result clean =
        PageCleaner::clean(QImage::fromData(bytes).scaled(600, 450), treatment);
    const int page = 600 * 450;
    QVERIFY(clean.photo);
    QVERIFY2(clean.closedAreas >= 12 && clean.closedAreas <= 150,
             qPrintable(QString::number(clean.closedAreas)));
    QVERIFY(clean.areaPoints.first() <= page * 0.4);
    QVERIFY(clean.areaPoints.last() >= page / 1000);
}

void PageCleanerTest::photographOrDrawingByLook_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<bool>("photo");
    QLinearGradient fog(0, 0, 0, 300); // a misty grey scene: no paper, no flat colour
    fog.setColorAt(0, QColor(200, 200, 200));
    fog.setColorAt(1, QColor(40, 40, 40));
    QTest::newRow("soft grey photograph") << canvas([&](QPainter& p) {
        p.fillRect(QRect(QPoint(), kSize), fog);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 70, 70));
        p.drawEllipse(QPointF(kCentre), 60, 30);
    }) << true;
    QRadialGradient shade(QPointF(kCentre), 120); // shaded from green to black
    shade.setColorAt(0, QColor(0, 230, 0));
    shade.setColorAt(1, QColor(0, 20, 0));
    QTest::newRow("shaded drawing on paper") << canvas([&](QPainter& p) {
        p.setBrush(shade);
        p.drawEllipse(QPointF(kCentre), 120, 120);
    }) << false;
    QImage scan = canvas([](QPainter& p) { p.drawEllipse(QPointF(kCentre), 120, 120); },
                         QColor(195, 195, 195));
    QRandomGenerator random(7); // grey, grainy paper
    for (int y = 0; y < scan.height(); ++y) {
        for (int x = 0; x < scan.width(); ++x)
            scan.setPixel(x, y, scan.pixel(x, y) + 0x010101u * random.bounded(20));
    }
    QTest::newRow("line drawing on grey paper") << scan << false;
}

void PageCleanerTest::photographOrDrawingByLook()
{
    QFETCH(QImage, picture);
    QFETCH(bool, photo);
    QCOMPARE(PageCleaner::clean(picture).photo, photo);
}

// A JPEG of 100 million points, as large as is read, beyond Qt's usual
// allocation limit, is read shrunk to the page.
void PageCleanerTest::largestPictureIsRead()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("grande.jpg"));
    QImage picture(10000, 10000, QImage::Format_Grayscale8);
    picture.fill(255);
    QPainter p(&picture);
    p.setPen(QPen(Qt::black, 20));
    p.drawEllipse(picture.rect().adjusted(100, 100, -100, -100));
    p.end();
    QVERIFY(picture.save(path, "JPEG", 50));
    DrawingFile drawing(path, QSize(400, 300));
    const PageCleaner::Result clean = PageCleaner::clean(drawing.page(0));
    QCOMPARE(clean.page.size(), QSize(300, 300));
    QCOMPARE(clean.closedAreas, 1);
}

QTEST_GUILESS_MAIN(PageCleanerTest)
#include "PageCleanerTest.moc"
