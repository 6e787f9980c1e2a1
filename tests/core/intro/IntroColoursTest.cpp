#include "core/intro/IntroColours.h"
#include "core/intro/IntroCentring.h"
#include "core/intro/IntroRandom.h"

#include <QtTest>

#include <array>

class IntroColoursTest : public QObject {
    Q_OBJECT

private slots:
    void colourNumberRoundsHalvesToEven_data();
    void colourNumberRoundsHalvesToEven();
    void endsComeUpHalfAsOften();
    void centring_data();
    void centring();
};

void IntroColoursTest::colourNumberRoundsHalvesToEven_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("number");
    QTest::newRow("zero") << 0.0 << 0;
    QTest::newRow("just below half of one") << 0.4999 / 15 << 0;
    QTest::newRow("half of one goes to 0") << 0.5 / 15 << 0;
    QTest::newRow("one and a half goes to 2") << 1.5 / 15 << 2;
    QTest::newRow("two and a half goes to 2") << 2.5 / 15 << 2;
    QTest::newRow("fourteen and a half goes to 14") << 14.5 / 15 << 14;
    QTest::newRow("above fourteen and a half") << 14.51 / 15 << 15;
    QTest::newRow("largest value below one") << std::nextafter(1.0, 0.0) << 15;
}

void IntroColoursTest::colourNumberRoundsHalvesToEven()
{
    QFETCH(double, r);
    QFETCH(int, number);
    QCOMPARE(IntroColours::colourNumber(r), number);
}

void IntroColoursTest::endsComeUpHalfAsOften()
{
    constexpr int kDraws = 150000;
    std::array<int, 16> counts{};
    IntroRandom random;
    for (int i = 0; i < kDraws; ++i) {
        const int n = IntroColours::draw(random);
        QVERIFY(n >= 0 && n <= 15);
        ++counts[static_cast<std::size_t>(n)];
    }
    // Expected: 1/30 of the draws for 0 and 15, 1/15 for each of 1 to 14.
    const double inner = kDraws / 15.0;
    for (int n = 0; n < 16; ++n) {
        const double expected = (n == 0 || n == 15) ? inner / 2 : inner;
        const double share = counts[static_cast<std::size_t>(n)] / expected;
        QVERIFY2(share > 0.95 && share < 1.05,
                 qPrintable(QStringLiteral("colour %1 drawn %2 times").arg(n).arg(counts[n])));
    }
}

void IntroColoursTest::centring_data()
{
    QTest::addColumn<double>("screen");
    QTest::addColumn<double>("window");
    QTest::addColumn<qint64>("start");
    QTest::newRow("1024 wide") << 15360.0 << 6420.0 << qint64(4470);
    QTest::newRow("768 high") << 11520.0 << 6330.0 << qint64(2595);
    QTest::newRow("odd difference floors") << 11521.0 << 6330.0 << qint64(2595);
    QTest::newRow("exact fit") << 6420.0 << 6420.0 << qint64(0);
    QTest::newRow("smaller screen is negative") << 6000.0 << 6420.0 << qint64(-210);
    QTest::newRow("odd negative floors down") << 6000.0 << 6331.0 << qint64(-166);
}

void IntroColoursTest::centring()
{
    QFETCH(double, screen);
    QFETCH(double, window);
    QFETCH(qint64, start);
    QCOMPARE(qint64(centredPosition(screen, window)), start);
}

QTEST_GUILESS_MAIN(IntroColoursTest)
#include "IntroColoursTest.moc"
