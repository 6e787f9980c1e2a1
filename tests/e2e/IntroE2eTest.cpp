#include "e2e/CloseRequest.h"
#include "e2e/E2eHarness.h"

#include <QtTest>

#include <xcb/xcb.h>

// The intro window as a child meets it: centred, light red at first, then
// flashing colours; CONTINUAR leads to the main window alone, and closing the
// intro window instead ends the program quietly.
class IntroE2eTest : public QObject {
    Q_OBJECT
private slots:
    void centredLightRedThenFlashing();
    void continuarLeavesOnlyTheMainWindow();
    void closingTheIntroEndsTheProgram();
    void lateWindowManagerFrameIsCentred();
};

namespace {

// 428 × 422 pixels centred with floor on 1024 × 768, all in twips.
const QRect kIntroGeometry((15360 - 6420) / 2 / 15, (11520 - 6330) / 2 / 15, 428, 422);
// A client point between the window's edge and the decorative outline.
const QPoint kBackgroundPoint(4, 4);

const QList<QRgb> kTable{
    qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
    qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
    qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255)};
const QRgb kLightRed = qRgb(255, 0, 0);

QRgb pixelAt(const QImage& shot, QPoint point)
{
    return shot.pixel(point) | 0xFF000000u;
}

// Starts the program on a screen of its own and waits for the intro window.
qulonglong startToIntro(E2eHarness& harness, int timeoutMs = 10000)
{
    if (!harness.prepareProgramFolder() || !harness.startDisplay() || !harness.startProgram())
        return 0;
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && harness.programRunning()) {
        for (qulonglong window : harness.titledWindows()) {
            const QRect geometry = harness.windowGeometry(window);
            if (geometry.size() == kIntroGeometry.size())
                return window;
        }
        QThread::msleep(40);
    }
    return 0;
}

// The outer rectangle of the window's frame: its ancestor just below the root.
QRect frameOf(const QString& display, qulonglong window)
{
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    QRect frame;
    auto top = static_cast<xcb_window_t>(window);
    while (!xcb_connection_has_error(connection)) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, top), nullptr);
        if (!tree)
            break;
        const bool atRoot = tree->parent == tree->root;
        if (!atRoot)
            top = tree->parent;
        free(tree);
        if (atRoot) {
            xcb_get_geometry_reply_t* g =
                xcb_get_geometry_reply(connection, xcb_get_geometry(connection, top), nullptr);
            if (g)
                frame = QRect(g->x, g->y, g->width + 2 * g->border_width,
                              g->height + 2 * g->border_width);
            free(g);
            break;
        }
    }
    xcb_disconnect(connection);
    return frame;
}

} // namespace

void IntroE2eTest::centredLightRedThenFlashing()
{
    E2eHarness harness;
    const qulonglong intro = startToIntro(harness);
    QVERIFY2(intro != 0, qPrintable(harness.describe()));
    QCOMPARE(harness.windowGeometry(intro), kIntroGeometry);

    // The first background is light red; the timer changes it after 1.5 s.
    const QPoint background = kIntroGeometry.topLeft() + kBackgroundPoint;
    QImage shot;
    const bool red = harness.waitForPixel(background, QColor(kLightRed), 1200, &shot);
    if (!red)
        E2eHarness::saveArtefact(shot, QStringLiteral("intro-start"));
    QVERIFY2(red, qPrintable(harness.describe()));
    // Centred: the window's corners are where floor centring puts them,
    // and the screen around it is not the window's colour.
    QCOMPARE(pixelAt(shot, kIntroGeometry.topLeft()), kLightRed);
    QCOMPARE(pixelAt(shot, kIntroGeometry.bottomRight()), kLightRed);
    QVERIFY(pixelAt(shot, kIntroGeometry.topLeft() - QPoint(1, 1)) != kLightRed);
    QVERIFY(pixelAt(shot, kIntroGeometry.bottomRight() + QPoint(1, 1)) != kLightRed);

    // Within 2 s the background takes another colour of the table.
    QRgb seen = kLightRed;
    const bool changed = harness.waitForScreen(
        [&](const QImage& image) {
            seen = pixelAt(image, background);
            return seen != kLightRed;
        },
        2000, &shot);
    if (!changed)
        E2eHarness::saveArtefact(shot, QStringLiteral("intro-flashing"));
    QVERIFY2(changed, "the intro background stayed light red");
    QVERIFY2(kTable.contains(seen), qPrintable(QColor(seen).name()));
    // The whole margin takes it, not just one spot.
    QCOMPARE(pixelAt(shot, kIntroGeometry.topLeft() + QPoint(420, 2)), seen);
}

void IntroE2eTest::continuarLeavesOnlyTheMainWindow()
{
    E2eHarness harness;
    const qulonglong intro = startToIntro(harness);
    QVERIFY2(intro != 0, qPrintable(harness.describe()));
    QVERIFY2(harness.passIntro(), qPrintable(harness.describe()));
    const qulonglong main = harness.waitForMainWindow();
    QVERIFY2(main != 0, qPrintable(harness.describe()));

    QTRY_COMPARE_WITH_TIMEOUT(harness.titledWindows(), QList<qulonglong>{main}, 3000);
    QCOMPARE(harness.windowGeometry(main), QRect(0, 0, 1024, 768));
    // Closing the intro during the main window's start-up did not end the
    // program: it keeps running with the main window alone.
    QThread::msleep(500);
    QVERIFY2(harness.programRunning(), qPrintable(harness.describe()));
    QCOMPARE(harness.titledWindows(), QList<qulonglong>{main});
}

void IntroE2eTest::closingTheIntroEndsTheProgram()
{
    E2eHarness harness;
    const qulonglong intro = startToIntro(harness);
    QVERIFY2(intro != 0, qPrintable(harness.describe()));
    QVERIFY(sendCloseRequest(harness.display(), intro));
    const int status = harness.waitForExit(5000);
    QVERIFY2(status == 0,
             qPrintable(QStringLiteral("status %1; ").arg(status) + harness.describe()));
}

// A window manager that frames the window long after it showed: the framed
// window is centred again, whatever the delay.
void IntroE2eTest::lateWindowManagerFrameIsCentred()
{
    E2eHarness harness;
    const qulonglong intro = startToIntro(harness);
    QVERIFY2(intro != 0, qPrintable(harness.describe()));
    QThread::msleep(1000);

    QProcess manager;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), harness.display());
    manager.setProcessEnvironment(env);
    manager.start(QStringLiteral("openbox"), {});
    QVERIFY2(manager.waitForStarted(5000), "openbox (Debian package openbox) did not start");
    QRect frame;
    QDeadlineTimer deadline(8000);
    auto centred = [](const QRect& r) {
        return qAbs(2 * r.x() + r.width() - 1024) <= 2 && qAbs(2 * r.y() + r.height() - 768) <= 2;
    };
    do {
        QThread::msleep(100);
        frame = frameOf(harness.display(), intro);
    } while (!deadline.hasExpired() &&
             !(frame.height() > kIntroGeometry.height() && centred(frame)));
    manager.kill();
    manager.waitForFinished(5000);
    QVERIFY2(frame.height() > kIntroGeometry.height(),
             "the window manager never framed the window");
    QVERIFY2(centred(frame), qPrintable(QStringLiteral("frame at %1,%2 %3 x %4")
                                            .arg(frame.x())
                                            .arg(frame.y())
                                            .arg(frame.width())
                                            .arg(frame.height())));
}

QTEST_GUILESS_MAIN(IntroE2eTest)
#include "IntroE2eTest.moc"
