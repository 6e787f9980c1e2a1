#include "e2e/E2eHarness.h"

#include <QtTest>

// The real program's answers to mistakes on its command line and to a
// child's stray grown-up keys.
class CommandLineE2eTest : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
};

void CommandLineE2eTest::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("keys"); // pressed on the book, when it opens
    QTest::addColumn<int>("status");   // -1: still running
    QTest::addColumn<QString>("said");
    QTest::newRow("a file without --add")
        << QStringList{"foo.png"} << "" << 2 << "Para añadirlo al libro: tintaro --add foo.png";
    QTest::newRow("--blank without --print")
        << QStringList{"--blank"} << "" << 2 << "--blank solo vale junto a --print";
    QTest::newRow("--printer without --print")
        << QStringList{"--printer", "X"} << "" << 2 << "--printer solo vale junto a --print";
    QTest::newRow("--foto without --add")
        << QStringList{"--foto", "foo.png"} << "" << 2 << "--foto solo vale junto a --add";
    QTest::newRow("--print -1") << QStringList{"--print", "-1"} << "" << 2 << "desde 1";
    QTest::newRow("--print 0") << QStringList{"--print", "0"} << "" << 2 << "desde 1";
    QTest::newRow("a value missing") << QStringList{"--zoom"} << "" << 2 << "zoom";
    QTest::newRow("--zoom larger than the screen")
        << QStringList{"--zoom", "1.5"} << "" << 2 << "el mayor que cabe es 1.";
    QTest::newRow("the lock leaves Ctrl+P, Ctrl+S and Ctrl+O off")
        << QStringList{"--candado"} << "ctrl+p ctrl+s ctrl+o" << -1 << "";
}

void CommandLineE2eTest::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, keys);
    QFETCH(int, status);
    QFETCH(QString, said);
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    harness.useProgram(harness.programFolder() + "/tintaro", arguments, {});
    QVERIFY(harness.startDisplay() && harness.startProgram());
    if (!keys.isEmpty()) {
        QVERIFY2(harness.passIntro() && harness.waitForMainWindow() != 0,
                 qPrintable(harness.describe()));
        for (const QString& key : keys.split(' '))
            QVERIFY(harness.key(key));
        // Unlocked, Ctrl+P shows the print dialog (or says there is no printer) by now.
        QTest::qWait(2000);
        QVERIFY2(harness.programWindows().size() == 1, qPrintable(harness.describe()));
    }
    QCOMPARE(harness.waitForExit(status == -1 ? 500 : 10000), status);
    QVERIFY2(QString::fromUtf8(harness.programStderr()).contains(said),
             harness.programStderr().constData());
}

QTEST_GUILESS_MAIN(CommandLineE2eTest)
#include "CommandLineE2eTest.moc"
