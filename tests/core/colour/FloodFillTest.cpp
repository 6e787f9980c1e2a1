#include "core/colour/FloodFill.h"
#include "core/colour/ReferenceFill.h"

#include <QRandomGenerator>
#include <QtTest>

#include <vector>

namespace {

constexpr ColorRef kWhite = rgbColour(255, 255, 255);
constexpr ColorRef kBlack = rgbColour(0, 0, 0);
constexpr ColorRef kRed = rgbColour(255, 0, 0);
constexpr ColorRef kBlue = rgbColour(0, 0, 255);

ColorRef colourOfChar(char c)
{
    switch (c) {
    case '#':
        return kBlack;
    case 'r':
        return kRed;
    case 'b':
        return kBlue;
    default:
        return kWhite;
    }
}

// Pictures in the cases are drawn as rows of characters: '.' white, '#' black,
// 'r' red, 'b' blue.
QImage picture(const QStringList& rows)
{
    QImage image(static_cast<int>(rows.first().size()), static_cast<int>(rows.size()),
                 QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, toQRgb(colourOfChar(rows[y].at(x).toLatin1())));
        }
    }
    return image;
}

// Every painted pixel changes colour, so the pixels that differ are the ones painted.
qint64 differingPixels(const QImage& a, const QImage& b)
{
    qint64 count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += (a.pixel(x, y) & 0x00FFFFFFu) != (b.pixel(x, y) & 0x00FFFFFFu);
        }
    }
    return count;
}

} // namespace

class FloodFillTest : public QObject {
    Q_OBJECT

private slots:
    void fillCases_data();
    void fillCases();
    void otherFormatsAreFilledAsRgb32();
    void matchesReferenceOnRandomPictures();
    void pixelColourOutsideIsInvalid();
};

void FloodFillTest::fillCases_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<ColorRef>("fill");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QRect>("changed");

    const QStringList house{"..#####..", ".#.....#.", "#.......#",
                            "#..###..#", "#..#.#..#", "#########"};
    QTest::newRow("closed area up to the outline")
        << house << QPoint(2, 2) << kRed
        << QStringList{"..#####..", ".#rrrrr#.", "#rrrrrrr#", "#rr###rr#", "#rr#.#rr#", "#########"}
        << QRect(1, 1, 7, 4);
    QTest::newRow("outline pixel fills the outline only")
        << house << QPoint(0, 5) << kBlue
        << QStringList{"..#####..", ".#.....#.", "b.......b", "b..bbb..b", "b..b.b..b", "bbbbbbbbb"}
        << QRect(0, 2, 9, 4);
    QTest::newRow("same colour changes nothing")
        << QStringList{"#####", "#rrr#", "#####"} << QPoint(2, 1) << kRed
        << QStringList{"#####", "#rrr#", "#####"} << QRect();
    QTest::newRow("recolours an earlier fill")
        << QStringList{"#####", "#rrr#", "#r#r#", "#####"} << QPoint(1, 2) << kBlue
        << QStringList{"#####", "#bbb#", "#b#b#", "#####"} << QRect(1, 1, 3, 2);
    QTest::newRow("a gap leaks into the next area")
        << QStringList{"..#..", "..#..", ".....", "..#.."} << QPoint(0, 0) << kRed
        << QStringList{"rr#rr", "rr#rr", "rrrrr", "rr#rr"} << QRect(0, 0, 5, 4);
    QTest::newRow("diagonal neighbours stay apart")
        << QStringList{"..#..", "..#..", "##.##", "..#.."} << QPoint(0, 0) << kRed
        << QStringList{"rr#..", "rr#..", "##.##", "..#.."} << QRect(0, 0, 2, 2);
    QTest::newRow("reaches left and up from a lower right press")
        << QStringList{"#..", "#.#", "..#"} << QPoint(1, 2) << kBlue
        << QStringList{"#bb", "#b#", "bb#"} << QRect(0, 0, 3, 3);
    QTest::newRow("single pixel") << QStringList{"###", "#.#", "###"} << QPoint(1, 1) << kRed
                                  << QStringList{"###", "#r#", "###"} << QRect(1, 1, 1, 1);
    QTest::newRow("top left corner") << QStringList{"...", "##.", "..."} << QPoint(0, 0) << kBlue
                                     << QStringList{"bbb", "##b", "bbb"} << QRect(0, 0, 3, 3);
    QTest::newRow("bottom right corner")
        << QStringList{".#.", ".#.", "#.."} << QPoint(2, 2) << kBlue
        << QStringList{".#b", ".#b", "#bb"} << QRect(1, 0, 2, 3);
    QTest::newRow("one pixel picture")
        << QStringList{"."} << QPoint(0, 0) << kRed << QStringList{"r"} << QRect(0, 0, 1, 1);
    QTest::newRow("left of the picture") << house << QPoint(-1, 2) << kRed << house << QRect();
    QTest::newRow("right of the picture") << house << QPoint(9, 2) << kRed << house << QRect();
    QTest::newRow("above the picture") << house << QPoint(3, -1) << kRed << house << QRect();
    QTest::newRow("below the picture") << house << QPoint(3, 6) << kRed << house << QRect();
}

void FloodFillTest::fillCases()
{
    QFETCH(QStringList, before);
    QFETCH(QPoint, press);
    QFETCH(ColorRef, fill);
    QFETCH(QStringList, after);
    QFETCH(QRect, changed);

    QImage image = picture(before);
    const FillResult result = floodFill(image, press.x(), press.y(), fill);
    QCOMPARE(image, picture(after));
    QCOMPARE(result.changed, changed);
    QCOMPARE(result.painted, differingPixels(picture(before), image));
}

void FloodFillTest::otherFormatsAreFilledAsRgb32()
{
    QImage image = picture({"..#", ".#."}).convertToFormat(QImage::Format_Indexed8);
    QVERIFY(floodFill(image, 0, 0, kBlue));
    QCOMPARE(image.format(), QImage::Format_RGB32);
    QCOMPARE(image, picture({"bb#", "b#."}));
}

void FloodFillTest::matchesReferenceOnRandomPictures()
{
    // Few colours make large, twisted areas. Half the pictures live in a buffer with
    // padded rows whose padding has the target colour, so a fill that ran off the end
    // of a row would show; alpha bytes vary because only the colour bits may count.
    QRandomGenerator random(20240611);
    const QRgb palette[] = {0xFF102030u, 0x00102030u, 0xFFFFFFFFu, 0x7F000000u};
    // Now and then a large picture, two thirds one colour: one area of narrow, winding
    // runs, big enough for the fill to switch to labelling the rows part way.
    for (int round = 0; round < 5000; ++round) {
        const bool large = round % 500 == 0;
        const int width = large ? 300 : random.bounded(1, round % 10 == 0 ? 70 : 24);
        const int height = large ? 300 : random.bounded(1, round % 10 == 0 ? 70 : 24);
        const int colours = large ? 3 : random.bounded(2, 4);
        const int padding = (round % 2) * random.bounded(1, 5);
        const int stride = width + padding;

        std::vector<QRgb> buffer(static_cast<std::size_t>(stride * height));
        for (QRgb& p : buffer) {
            p = palette[random.bounded(colours)];
        }
        const int seeds = 4;
        for (int s = 0; s < seeds; ++s) {
            const int x = random.bounded(width);
            const int y = random.bounded(height);
            const QRgb paint = s == 0 ? 0xFF102030u : 0xFF000000u | random.bounded(0x1000000u);

            std::vector<QRgb> actual = buffer;
            QImage image(reinterpret_cast<uchar*>(actual.data()), width, height,
                         static_cast<qsizetype>(stride * sizeof(QRgb)), QImage::Format_RGB32);
            PaintedArea area;
            const FillResult result = floodFill(image, x, y, fromQRgb(paint), &area);
            QCOMPARE(static_cast<const void*>(image.constBits()),
                     static_cast<const void*>(actual.data()));

            std::vector<QRgb> expected(static_cast<std::size_t>(width * height));
            for (int row = 0; row < height; ++row) {
                std::copy_n(buffer.begin() + row * stride, width, expected.begin() + row * width);
            }
            referenceFill(expected, width, height, x, y, paint);

            QRect changed;
            qint64 count = 0;
            for (int row = 0; row < height; ++row) {
                for (int col = 0; col < stride; ++col) {
                    const auto at = static_cast<std::size_t>(row * stride + col);
                    const QRgb want = col < width
                                          ? expected[static_cast<std::size_t>(row * width + col)]
                                          : buffer[at];
                    if (want != buffer[at]) {
                        changed |= QRect(col, row, 1, 1);
                        ++count;
                    }
                    if (actual[at] != want) {
                        QFAIL(qPrintable(QString("round %1 seed (%2,%3) pixel (%4,%5)")
                                             .arg(round)
                                             .arg(x)
                                             .arg(y)
                                             .arg(col)
                                             .arg(row)));
                    }
                }
            }
            QCOMPARE(result.changed, changed);
            QCOMPARE(result.painted, count);
            // The runs kept for undo cover exactly the changed pixels, each once.
            qint64 recorded = 0;
            for (const PaintedSpan& span : area.spans) {
                for (int col = span.left; col <= span.right; ++col)
                    QVERIFY(actual[static_cast<std::size_t>(span.y * stride + col)] !=
                            buffer[static_cast<std::size_t>(span.y * stride + col)]);
                recorded += span.right - span.left + 1;
            }
            QCOMPARE(recorded, count);
            buffer = actual;
        }
    }
}

void FloodFillTest::pixelColourOutsideIsInvalid()
{
    const QImage image = picture({"r.", "#b"});
    QCOMPARE(pixelColour(image, 0, 0), kRed);
    QCOMPARE(pixelColour(image, 1, 1), kBlue);
    QCOMPARE(pixelColour(image, 2, 0), kInvalidColour);
    QCOMPARE(pixelColour(image, 0, -1), kInvalidColour);
    QCOMPARE(pixelColour(QImage(), 0, 0), kInvalidColour);
}

QTEST_GUILESS_MAIN(FloodFillTest)
#include "FloodFillTest.moc"
