#include "colour/Palette.h"

#include <QtTest>

#include <vector>

using Tints = std::vector<std::array<int, 3>>;
Q_DECLARE_METATYPE(Tints)

class PaletteTest : public QObject {
    Q_OBJECT

private slots:
    void splitsIntoBytes();
    void tints_data();
    void tints();
};

void PaletteTest::splitsIntoBytes()
{
    const PickedColour parts = splitColour(0x00123456u);
    QCOMPARE(parts.red, 0x56);
    QCOMPARE(parts.green, 52.0);
    QCOMPARE(parts.blue, 0x12);
    QCOMPARE(joinColour(parts), 0x00123456u);
    QCOMPARE(joinColour(splitColour(0x80FEDCBAu)), 0x00FEDCBAu);
}

void PaletteTest::tints_data()
{
    QTest::addColumn<ColorRef>("picked");
    QTest::addColumn<Tints>("expected");

    Tints white(11, {255, 255, 255});
    QTest::newRow("white") << rgbColour(255, 255, 255) << white;
    QTest::newRow("black") << rgbColour(0, 0, 0)
                           << Tints{{15, 20, 15},    {30, 40, 30},    {45, 60, 45},
                                    {60, 80, 60},    {75, 100, 75},   {90, 120, 90},
                                    {105, 140, 105}, {120, 160, 120}, {135, 180, 135},
                                    {150, 200, 150}, {165, 220, 165}};
    QTest::newRow("pure red") << rgbColour(255, 0, 0)
                              << Tints{{255, 20, 15},   {255, 40, 30},   {255, 60, 45},
                                       {255, 80, 60},   {255, 100, 75},  {255, 120, 90},
                                       {255, 140, 105}, {255, 160, 120}, {255, 180, 135},
                                       {255, 200, 150}, {255, 220, 165}};
    QTest::newRow("grey ground") << rgbColour(128, 128, 128)
                                 << Tints{{143, 148, 143}, {158, 168, 158}, {173, 188, 173},
                                          {188, 208, 188}, {203, 228, 203}, {218, 248, 218},
                                          {233, 255, 233}, {248, 255, 248}, {255, 255, 255},
                                          {255, 255, 255}, {255, 255, 255}};
    QTest::newRow("light grey") << rgbColour(192, 192, 192)
                                << Tints{{207, 212, 207}, {222, 232, 222}, {237, 252, 237},
                                         {252, 255, 252}, {255, 255, 255}, {255, 255, 255},
                                         {255, 255, 255}, {255, 255, 255}, {255, 255, 255},
                                         {255, 255, 255}, {255, 255, 255}};
}

void PaletteTest::tints()
{
    QFETCH(ColorRef, picked);
    QFETCH(Tints, expected);
    const auto tints = tintsOf(picked);
    for (std::size_t i = 0; i < tints.size(); ++i) {
        const auto& [red, green, blue] = expected[i];
        QCOMPARE(tints[i], rgbColour(red, green, blue));
    }
}

QTEST_GUILESS_MAIN(PaletteTest)
#include "PaletteTest.moc"
