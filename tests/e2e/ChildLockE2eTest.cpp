#include "e2e/CloseRequest.h"
#include "e2e/E2eHarness.h"
#include "e2e/MainWindowGeometry.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <algorithm>

#include <cmath>

// The child lock on the real program, and the grown-ups' settings window.
class ChildLockE2eTest : public QObject {
    Q_OBJECT
private slots:
    void door_data();
    void door();
    void lockedIntroStaysOpen();
    void settingsWindowSavesAtOnce();
};

namespace {

enum class Try { Tap, CloseRequest, Keys, Hold };

// Enough presses of Tab for the focus to visit every control of the window.
constexpr int kTabs = 20;

constexpr int kStillRunning = -2;

// The top of the ring round the door, the first part to fill: the middle of
// a 7-pixel pen just outside the door's corners or, where the screen's edge
// is nearer, on the largest ring the screen holds round the door's centre.
QPoint ringTop()
{
    const QRect door = MainWindowGeometry::door();
    const QPoint c = door.center();
    const int room = std::min({c.x(), E2eHarness::kScreenWidth - 1 - c.x(), c.y(),
                               E2eHarness::kScreenHeight - 1 - c.y()});
    const double diameter =
        std::min(std::ceil(std::hypot(door.width(), door.height())) + 14, 2.0 * room + 1);
    return {c.x(), static_cast<int>(c.y() - diameter / 2 + 3.5)};
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool startWith(E2eHarness& harness, const QStringList& arguments, const QByteArray& settings)
{
    const QString config = harness.programFolder() + QStringLiteral("/config");
    QDir().mkpath(config + QStringLiteral("/Tintaro"));
    QFile file(config + QStringLiteral("/Tintaro/tintaro.conf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(settings) != settings.size())
        return false;
    file.close();
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    harness.useProgram(harness.programFolder() + QStringLiteral("/tintaro"), arguments,
                       environment);
    return harness.startDisplay() && harness.startProgram();
}

} // namespace

void ChildLockE2eTest::door_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<Try>("attempt");
    QTest::addColumn<int>("status");
    const QStringList locked{QStringLiteral("--candado")};
    QTest::newRow("no lock: tap ends") << QStringList() << QByteArray() << Try::Tap << 0;
    QTest::newRow("no lock: Alt+F4 ends")
        << QStringList() << QByteArray() << Try::CloseRequest << 0;
    QTest::newRow("no lock: Tab and Space end") << QStringList() << QByteArray() << Try::Keys << 0;
    // What the lock refuses (a tap, the keys, a close) is ChildLockTest's;
    // here, that the program takes it on and still ends when held.
    QTest::newRow("--candado: held ends") << locked << QByteArray() << Try::Hold << 0;
    QTest::newRow("lock set by a grown-up: tap")
        << QStringList() << QByteArray("[General]\ncandado=true\n") << Try::Tap << kStillRunning;
}

void ChildLockE2eTest::door()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, settings);
    QFETCH(Try, attempt);
    QFETCH(int, status);
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(startWith(harness, arguments, settings));
    QVERIFY2(harness.passIntro() && harness.waitForMainWindow() != 0,
             qPrintable(harness.describe()));
    const QPoint door = MainWindowGeometry::door().center();
    if (attempt == Try::Tap) {
        QVERIFY(harness.click(door));
    } else if (attempt == Try::CloseRequest) {
        QVERIFY(harness.key(QStringLiteral("alt+F4")));
        QVERIFY(sendCloseRequest(harness.display(), harness.waitForMainWindow()));
    } else if (attempt == Try::Keys) {
        for (int i = 0; i < kTabs && harness.programRunning(); ++i)
            QVERIFY(harness.key(QStringLiteral("Tab")) && harness.key(QStringLiteral("space")));
    } else {
        QVERIFY(harness.pressButton(door));
        QImage shot;
        QVERIFY2(harness.waitForPixel(ringTop(), QColor(0, 128, 255), 1500, &shot),
                 qPrintable(E2eHarness::saveArtefact(shot, QStringLiteral("ring"))));
        QThread::msleep(2500);
        QVERIFY(harness.releaseButton());
    }
    if (status == kStillRunning) {
        QThread::msleep(1500);
        QVERIFY2(harness.programRunning() && harness.waitForMainWindow(0) != 0,
                 qPrintable(harness.describe()));
    } else {
        QCOMPARE(harness.waitForExit(), status);
    }
}

void ChildLockE2eTest::lockedIntroStaysOpen()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(startWith(harness, {QStringLiteral("--candado")}, QByteArray()));
    QList<qulonglong> intro;
    QTRY_VERIFY_WITH_TIMEOUT(!(intro = harness.windowsNamed(QStringLiteral("^Tintaro$"))).isEmpty(),
                             10000);
    QVERIFY(sendCloseRequest(harness.display(), intro[0]));
    QThread::msleep(1500);
    QVERIFY2(harness.passIntro() && harness.waitForMainWindow() != 0,
             qPrintable(harness.describe()));
}

void ChildLockE2eTest::settingsWindowSavesAtOnce()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(startWith(harness, {QStringLiteral("--ajustes")}, QByteArray()));
    QList<qulonglong> windows;
    QTRY_VERIFY_WITH_TIMEOUT(
        !(windows = harness.windowsNamed(QStringLiteral("^Ajustes de Tintaro$"))).isEmpty(), 10000);
    // The pointer on the window gives it the keys; the first choice has the focus.
    QVERIFY(harness.click(harness.windowGeometry(windows[0]).topLeft() + QPoint(4, 4)));
    QVERIFY(harness.key(QStringLiteral("space")));
    const QString borra = harness.programFolder() + QStringLiteral("/borra.txt");
    QTRY_COMPARE_WITH_TIMEOUT(contents(borra), QByteArray("NO\r\n"), 5000);
    QVERIFY(harness.key(QStringLiteral("Tab")) && harness.key(QStringLiteral("space")));
    const QString conf = harness.programFolder() + QStringLiteral("/config/Tintaro/tintaro.conf");
    QTRY_VERIFY_WITH_TIMEOUT(contents(conf).contains("candado=true"), 5000);
    QVERIFY(harness.key(QStringLiteral("Escape")));
    QCOMPARE(harness.waitForExit(), 0);
}

QTEST_GUILESS_MAIN(ChildLockE2eTest)
#include "ChildLockE2eTest.moc"
