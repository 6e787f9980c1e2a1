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
    void pageTurnSoundsPlayWhole();
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

// A sound file as the recording should show it.
struct Expected {
    double lengthMs = 0;
    double crossingsPerMs = 0;
};

Expected expected(const QString& path)
{
    int rate = 0;
    const std::vector<qint16> samples = PulseServer::readSound(path, &rate);
    const QList<PulseServer::Burst> bursts = PulseServer::bursts(samples, rate);
    if (bursts.isEmpty())
        return {};
    return {1000.0 * double(samples.size()) / rate, bursts.first().crossingsPerMs};
}

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

bool sounds(const PulseServer::Burst& burst, const Expected& file)
{
    return std::abs(burst.lengthMs - file.lengthMs) <= 30 &&
           std::abs(burst.crossingsPerMs - file.crossingsPerMs) <= 0.1 * file.crossingsPerMs;
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

void SoundE2eTest::pageTurnSoundsPlayWhole()
{
    E2eHarness harness;
    PulseServer pulse;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.startDisplay());
    QString why;
    if (!pulse.start(harness.display(), &why))
        QSKIP(qPrintable(why));
    QVERIFY2(startProgram(harness, pulse), qPrintable(harness.describe()));
    const QString folder = harness.programFolder();
    const Expected forward = expected(folder + QStringLiteral("/sonido1.wav"));
    const Expected backward = expected(folder + QStringLiteral("/sonido2.wav"));
    QVERIFY(std::abs(forward.crossingsPerMs - backward.crossingsPerMs) > 0.2); // two sounds

    QList<PulseServer::Burst> bursts = record(harness, pulse, {{true}, {true}, {false}, {false}});
    qInfo("shipped sounds: %s", qPrintable(text(bursts)));
    QCOMPARE(bursts.size(), 4);
    for (int i = 0; i < 4; ++i)
        QVERIFY2(sounds(bursts[i], i < 2 ? forward : backward), qPrintable(text(bursts)));

    // A parent's own sound, in another format, is read at the next turn; a
    // quick second turn cuts it off, well before its end.
    QVERIFY(PulseServer::writeTone(folder + QStringLiteral("/sonido1.wav"), 440, 1.0, 48000, 2));
    const Expected own = expected(folder + QStringLiteral("/sonido1.wav"));
    bursts = record(harness, pulse, {{true, 1500}, {true, 300}, {false}});
    qInfo("1 s sound, then cut off: %s", qPrintable(text(bursts)));
    QVERIFY2(bursts.size() >= 2 && sounds(bursts.first(), own), qPrintable(text(bursts)));
    const double cutOffSpan = bursts.last().startMs + bursts.last().lengthMs - bursts[1].startMs;
    QVERIFY2(cutOffSpan < own.lengthMs - 100, qPrintable(text(bursts)));
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
