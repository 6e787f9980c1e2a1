#include "e2e/E2eHarness.h"
#include "e2e/MainWindowGeometry.h"
#include "e2e/PulseServer.h"

#include <QFile>
#include <QtTest>

// The page-turn sounds as they come out of a real audio server: each one
// whole, the right one for each button, cut off by the next turn, and the
// beep, every time, for a sound that cannot be played.
class SoundE2eTest : public QObject {
    Q_OBJECT
private slots:
    void unplayableSoundBeepsEveryTurn();

private:
    struct Turn {
        bool forward = true;
        int waitMs = 700; // before the next turn
    };
    // The program, playing on the audio server.
    static bool startProgram(E2eHarness& harness, const PulseServer& pulse);
    QList<PulseServer::Burst> record(E2eHarness& harness, PulseServer& pulse,
                                     const QList<Turn>& turns);
};

namespace {

QString text(const QList<PulseServer::Burst>& bursts)
{
    QStringList parts;
    for (const PulseServer::Burst& burst : bursts)
        parts << QStringLiteral("%1 ms at %2 ms (%3 crossings/ms)")
                     .arg(burst.lengthMs, 0, 'f', 1)
                     .arg(burst.startMs, 0, 'f', 0)
                     .arg(burst.crossingsPerMs, 0, 'f', 2);
    return parts.join(QStringLiteral("; "));
}

} // namespace

bool SoundE2eTest::startProgram(E2eHarness& harness, const PulseServer& pulse)
{
    qputenv("PULSE_SERVER", pulse.address().toLocal8Bit());
    return harness.startProgram() && harness.passIntro() && harness.waitForMainWindow() != 0;
}

QList<PulseServer::Burst> SoundE2eTest::record(E2eHarness& harness, PulseServer& pulse,
                                               const QList<Turn>& turns)
{
    if (!pulse.startRecording())
        return {};
    for (const Turn& turn : turns) {
        harness.click(
            (turn.forward ? MainWindowGeometry::command4() : MainWindowGeometry::command3())
                .center());
        QThread::msleep(turn.waitMs);
    }
    QThread::msleep(500);
    return PulseServer::bursts(pulse.stopRecording(), PulseServer::kRate);
}

void SoundE2eTest::unplayableSoundBeepsEveryTurn()
{
    E2eHarness harness;
    PulseServer pulse;
    QVERIFY(harness.prepareProgramFolder());
    QFile notASound(harness.programFolder() + QStringLiteral("/sonido1.wav"));
    QVERIFY(notASound.open(QIODevice::WriteOnly | QIODevice::Truncate));
    notASound.write("RIFF, but no sound in it");
    notASound.close();
    QVERIFY(harness.removeProgramFile(QStringLiteral("sonido2.wav")));
    QVERIFY(harness.startDisplay());
    QString why;
    if (!pulse.start(harness.display(), &why))
        QSKIP(qPrintable(why));
    QVERIFY2(startProgram(harness, pulse), qPrintable(harness.describe()));
    const QList<PulseServer::Burst> bursts =
        record(harness, pulse, {{true}, {true}, {true}, {false}, {false}});
    qInfo("beeps: %s", qPrintable(text(bursts)));
    QCOMPARE(bursts.size(), 5);
}

QTEST_GUILESS_MAIN(SoundE2eTest)
#include "SoundE2eTest.moc"
