#include "core/colour/UndoHistory.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

const QRgb kColours[] = {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)};

QImage randomPicture(QRandomGenerator& random, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, kColours[random.bounded(random.bounded(2) ? 2 : 4)]);
    return image;
}

} // namespace

// The history is checked against snapshots of every state the picture went through.
class UndoHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void restoresSnapshots_data();
    void restoresSnapshots();
    void boundsDropOldest_data();
    void boundsDropOldest();
};

void UndoHistoryTest::restoresSnapshots_data()
{
    // Scripts: f = fill at a random point with a random colour, u = undo, r = redo,
    // e = eraser (the whole picture replaced by a fresh one of another size).
    QTest::addColumn<QString>("script");
    QTest::newRow("fills then all undone and redone") << "ffffffuuuuuuurrrrrrr";
    QTest::newRow("new fill drops redo") << "fffuufrrffuuuf";
    QTest::newRow("eraser between fills") << "ffefuuuurrrrr";
    QTest::newRow("eraser undone, fills go on") << "fffeuffuuuurrr";
    for (int seed = 1; seed <= 12; ++seed) {
        QRandomGenerator random(static_cast<quint32>(seed));
        QString script;
        for (int i = 0; i < 80; ++i)
            script += QStringLiteral("ffffuuree").at(random.bounded(9 - (i % 3 ? 2 : 0)));
        QTest::newRow(qPrintable(QStringLiteral("random %1").arg(seed))) << script;
    }
}

namespace {

bool changedOnlyInside(const QImage& before, const QImage& after, const QRect& changed)
{
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (!changed.contains(x, y) && before.pixel(x, y) != after.pixel(x, y))
                return false;
    return true;
}

} // namespace

void UndoHistoryTest::restoresSnapshots()
{
    QFETCH(QString, script);
    QRandomGenerator random(static_cast<quint32>(qHash(script)));
    QImage image = randomPicture(random, 14, 11);
    std::vector<QImage> states{image.copy()};
    std::size_t at = 0;
    UndoHistory history;
    for (int i = 0; i < script.size(); ++i) {
        const char op = script.at(i).toLatin1();
        if (op == 'f') {
            // Few colours, so fills often meet earlier fills of their own colour.
            const int x = random.bounded(image.width());
            const int y = random.bounded(image.height());
            const ColorRef colour = fromQRgb(kColours[random.bounded(4)]);
            QImage expected = states[at].copy();
            const qint64 changed = floodFill(expected, x, y, colour).painted;
            QCOMPARE(history.fill(image, x, y, colour).painted, changed);
            if (changed) {
                states.resize(++at);
                states.push_back(expected);
            }
        } else if (op == 'e') {
            const QImage fresh =
                randomPicture(random, 9 + random.bounded(8), 7 + random.bounded(8));
            history.replaced(image, fresh);
            image = fresh;
            states.resize(++at);
            states.push_back(fresh.copy());
        } else {
            const QImage before = image.copy();
            const UndoHistory::Change change =
                op == 'u' ? history.undo(image) : history.redo(image);
            const std::size_t next =
                op == 'u' ? (at > 0 ? at - 1 : at) : (at + 1 < states.size() ? at + 1 : at);
            QCOMPARE(bool(change), next != at);
            at = next;
            // The screen redraws only the rectangle reported: nothing may change outside it.
            QVERIFY(before.size() != image.size() ||
                    changedOnlyInside(before, image, change.changed));
        }
        QVERIFY2(image == states[at], qPrintable(QStringLiteral("differs after step %1").arg(i)));
        QCOMPARE(history.canUndo(), at > 0);
        QCOMPARE(history.canRedo(), at + 1 < states.size());
    }
}

void UndoHistoryTest::boundsDropOldest_data()
{
    QTest::addColumn<int>("maxSteps");
    QTest::addColumn<int>("budgetInSteps"); // the byte budget, in fill steps
    QTest::addColumn<int>("fills");
    QTest::addColumn<int>("kept");
    QTest::newRow("within both") << 200 << 100 << 10 << 10;
    QTest::newRow("by count") << 5 << 100 << 12 << 5;
    QTest::newRow("by bytes") << 200 << 3 << 12 << 3;
    QTest::newRow("default count") << UndoHistory::kMaxSteps << 1000 << 230 << 200;
}

void UndoHistoryTest::boundsDropOldest()
{
    QFETCH(int, maxSteps);
    QFETCH(int, budgetInSteps);
    QFETCH(int, fills);
    QFETCH(int, kept);
    // Each fill repaints the whole 40 × 30 page, so every step costs the same.
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(kColours[0]);
    UndoHistory one;
    QImage probe = image.copy();
    one.fill(probe, 0, 0, fromQRgb(kColours[1]));
    UndoHistory history(maxSteps, one.bytes() * budgetInSteps);
    std::vector<QImage> states{image.copy()};
    for (int i = 0; i < fills; ++i) {
        QVERIFY(history.fill(image, i % 40, i % 30, fromQRgb(kColours[1 + i % 3])));
        states.push_back(image.copy());
    }
    QCOMPARE(history.stepCount(), kept);
    QVERIFY(history.bytes() <= one.bytes() * budgetInSteps);
    for (int i = 0; i < kept; ++i)
        QVERIFY(history.undo(image));
    QVERIFY(!history.undo(image));
    QVERIFY(image == states[static_cast<std::size_t>(fills - kept)]);

    // A step larger than the whole budget is not kept, nor anything before it.
    history.replaced(image, QImage(40, 30, QImage::Format_RGB32));
    QCOMPARE(history.stepCount(), budgetInSteps < 100 ? 0 : 1);
}

QTEST_GUILESS_MAIN(UndoHistoryTest)
#include "UndoHistoryTest.moc"
