#include "core/colour/Palette.h"

#include <QtTest>

class PaletteTest : public QObject {
    Q_OBJECT

private slots:
    void tints_data();
    void tints();
};

void PaletteTest::tints_data()
{
    QTest::addColumn<ColorRef>("picked");
    QTest::addColumn<int>("index");
    QTest::addColumn<ColorRef>("expected");
    QTest::newRow("black, first") << rgbColour(0, 0, 0) << 0 << rgbColour(15, 20, 15);
    QTest::newRow("each channel on its own") << rgbColour(1, 2, 3) << 4 << rgbColour(76, 102, 78);
    QTest::newRow("capped at white") << rgbColour(250, 240, 0) << 10 << rgbColour(255, 255, 165);
    QTest::newRow("top byte ignored") << ColorRef(0x80000000u) << 0 << rgbColour(15, 20, 15);
}

void PaletteTest::tints()
{
    QFETCH(ColorRef, picked);
    QFETCH(int, index);
    QFETCH(ColorRef, expected);
    QCOMPARE(tintsOf(picked)[static_cast<std::size_t>(index)], expected);
}

QTEST_GUILESS_MAIN(PaletteTest)
#include "PaletteTest.moc"
