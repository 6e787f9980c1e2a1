#include "ui/ChildLock.h"

#include <QPushButton>
#include <QtTest>

// The child lock on a window of its own: the door acts only when held the
// whole time, keys never reach it, and the window refuses to close.
class ChildLockTest : public QObject {
    Q_OBJECT
private slots:
    void door_data();
    void door();
};

enum class Try { Tap, LetGoSooner, Hold, Keys, Close };

void ChildLockTest::door_data()
{
    QTest::addColumn<Try>("attempt");
    QTest::addColumn<int>("clicks");
    QTest::newRow("a tap does nothing") << Try::Tap << 0;
    QTest::newRow("let go sooner, nothing") << Try::LetGoSooner << 0;
    QTest::newRow("held, it acts once") << Try::Hold << 1;
    QTest::newRow("Tab and Space never reach it") << Try::Keys << 0;
    QTest::newRow("the window refuses to close") << Try::Close << 0;
}

void ChildLockTest::door()
{
    QFETCH(Try, attempt);
    QFETCH(int, clicks);
    QWidget window;
    auto* other = new QPushButton(QStringLiteral("otro"), &window);
    auto* door = new QPushButton(QStringLiteral("puerta"), &window);
    door->move(0, 40);
    int clicked = 0;
    connect(door, &QPushButton::clicked, [&clicked] { ++clicked; });
    ChildLock::apply(&window, door, DisplayZoom());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    if (attempt == Try::Keys) {
        other->setFocus();
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(&window, Qt::Key_Tab);
            QVERIFY(!door->hasFocus());
            QTest::keyClick(door, Qt::Key_Space);
        }
    } else if (attempt == Try::Close) {
        QVERIFY(!window.close());
    } else {
        QTest::mousePress(door, Qt::LeftButton);
        const int held = attempt == Try::Tap ? 0 : attempt == Try::LetGoSooner ? 1000 : 2400;
        QTest::qWait(held);
        QTest::mouseRelease(door, Qt::LeftButton);
    }
    QTest::qWait(100);
    QCOMPARE(clicked, clicks);
    QVERIFY(window.isVisible());
}

QTEST_MAIN(ChildLockTest)
#include "ChildLockTest.moc"
