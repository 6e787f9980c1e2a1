#include "colour/Palette.h"

#include <QtTest>

#include <vector>

using Tints = std::vector<std::array<int, 3>>;
Q_DECLARE_METATYPE(Tints)

class PaletteTest : public QObject {
    Q_OBJECT

private slots:
    void splitsIntoBytes();
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

QTEST_GUILESS_MAIN(PaletteTest)
#include "PaletteTest.moc"
