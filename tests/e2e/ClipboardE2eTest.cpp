#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/ImageCompare.h"
#include "e2e/MainWindowGeometry.h"
#include "e2e/PulseServer.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QtTest>
#include <xcb/xcb.h>

// A page copied with a double-click can still be pasted after the door has
// closed the program: on its way out the program hands the clipboard to the
// desktop's clipboard manager. The one used here, csd-clipboard, keeps only
// what a program hands over as it leaves; a manager that copies every change
// as it happens would hide a program that skips the hand-over.
class ClipboardE2eTest : public QObject {
    Q_OBJECT
private slots:
    void doorLeavesCopiedPageWithClipboardManager();
};

namespace {

// Whether some client holds the CLIPBOARD_MANAGER selection on `display`:
// the one the program asks to save its clipboard at exit.
bool clipboardManagerOwned(const QString& display)
{
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    bool owned = false;
    if (!xcb_connection_has_error(connection)) {
        static const char name[] = "CLIPBOARD_MANAGER";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
        if (atom) {
            xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
                connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
            owned = owner && owner->owner != XCB_NONE;
            free(owner);
        }
        free(atom);
    }
    xcb_disconnect(connection);
    return owned;
}

} // namespace

void ClipboardE2eTest::doorLeavesCopiedPageWithClipboardManager()
{
    // Page 2, reached with a page turn whose sound still plays as the
    // program shuts down.
    const QImage page = QImage(E2eHarness::sourceProgramFolder() + QStringLiteral("/dibujos/2.gif"))
                            .convertToFormat(QImage::Format_RGB32);
    const QList<DrawingProbe::Area> areas = DrawingProbe::enclosedWhiteAreas(page);
    QVERIFY2(!areas.isEmpty(), "page 2 of the sample book needs a closed white area");
    const QPoint inside = areas.first().inside;
    const QImage red = DrawingProbe::filled(page, inside, qRgb(255, 0, 0));

    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.startDisplay());

    // Declared after the harness, so it stops before the display does.
    // Whatever it keeps goes to a folder of its own, not the user's.
    QTemporaryDir home;
    QProcess manager;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), harness.display());
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    manager.setProcessEnvironment(env);
    manager.setProcessChannelMode(QProcess::MergedChannels);
    manager.start(QStringLiteral("csd-clipboard"), QStringList());
    const auto stopManager = qScopeGuard([&manager] {
        manager.kill();
        manager.waitForFinished(2000);
    });
    // Ready once it holds the manager's selection; a manager that stops
    // first ends the wait.
    const bool started = manager.waitForStarted(5000);
    QDeadlineTimer deadline(10000);
    while (started && !clipboardManagerOwned(harness.display()) && !deadline.hasExpired() &&
           !manager.waitForFinished(100)) {
    }
    if (!clipboardManagerOwned(harness.display()))
        E2E_SKIP_UNLESS_CI(
            qPrintable(QStringLiteral("no clipboard manager on the test display: csd-clipboard "
                                      "(Debian package cinnamon-settings-daemon) did not "
                                      "start: %1 %2")
                           .arg(manager.errorString(), manager.readAll())));

    // A long page-turn sound, on a private sound server when one can run.
    PulseServer pulse;
    QString why;
    if (pulse.start(&why) && pulse.setUp(harness.display())) {
        qputenv("PULSE_SERVER", pulse.address().toLocal8Bit());
        QVERIFY(PulseServer::writeTone(harness.programFolder() + QStringLiteral("/sonido1.wav"),
                                       440, 10.0, PulseServer::kRate, 2));
    } else {
        qInfo("no sound server, the turn beeps: %s", qPrintable(why));
    }

    QVERIFY(harness.startProgram());
    QVERIFY2(harness.passIntro() && harness.waitForMainWindow() != 0,
             qPrintable(harness.describe()));
    QVERIFY(harness.click(MainWindowGeometry::forward().center()));
    QVERIFY2(harness.canvasShows(page, QStringLiteral("page-2"), &why, 8000), qPrintable(why));
    QVERIFY(harness.click(MainWindowGeometry::canvasPixel(page.size(), inside)));
    QVERIFY2(harness.canvasShows(red, QStringLiteral("fill-before-door"), &why), qPrintable(why));

    QVERIFY(harness.doubleClick(MainWindowGeometry::colourField(6, 1)));
    deadline.setRemainingTime(5000);
    while (harness.clipboardImage().isNull() && !deadline.hasExpired())
        QThread::msleep(100);
    QVERIFY2(!harness.clipboardImage().isNull(), "no page on the clipboard after the double-click");

    QVERIFY(harness.click(MainWindowGeometry::door().center()));
    QCOMPARE(harness.waitForExit(8000), 0);
    QCOMPARE(QDir(harness.drawingsFolder()).entryList({QStringLiteral("*.bmp")}, QDir::Files),
             QStringList{QStringLiteral("2.bmp")});

    // The program is gone; the clipboard still holds the coloured page.
    const QImage kept = harness.clipboardImage();
    QVERIFY2(!kept.isNull(), "the clipboard is empty once the program has left");
    QCOMPARE(kept.size(), page.size());
    QCOMPARE(ImageCompare::rgbText(kept.pixel(inside)), ImageCompare::rgbText(qRgb(255, 0, 0)));
    QCOMPARE(ImageCompare::difference(kept, red), QString());
}

QTEST_GUILESS_MAIN(ClipboardE2eTest)
#include "ClipboardE2eTest.moc"
