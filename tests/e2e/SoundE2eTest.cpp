#include "e2e/E2eHarness.h"
#include "e2e/MainWindowGeometry.h"
#include "e2e/PulseServer.h"

#include <QFile>
#include <QtTest>
#include <memory>

using Burst = PulseServer::Burst;

// The page-turn sounds as they come out of a real audio server: each one
// whole, the right one for each button, cut off by the next turn, and the
// beep, every time, for a sound that cannot be played.
class SoundE2eTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pageTurnSoundsPlayWhole();
    void unplayableSoundBeepsEveryTurn();

private:
    struct Turn {
        bool forward = true;
        int waitMs = 700; // before the next turn
    };
    // Turns the pages while the server's output is recorded.
    QList<Burst> record(const char* label, const QList<Turn>& turns);

    std::unique_ptr<E2eHarness> m_harness;
    std::unique_ptr<PulseServer> m_pulse;
};

namespace {

// The same length within 30 ms, and the same pitch.
bool sounds(const Burst& burst, const Burst& file)
{
    return std::abs(burst.lengthMs - file.lengthMs) <= 30 &&
           std::abs(burst.crossingsPerMs - file.crossingsPerMs) <= 0.1 * file.crossingsPerMs;
}

} // namespace

void SoundE2eTest::init()
{
    m_harness = std::make_unique<E2eHarness>();
    m_pulse = std::make_unique<PulseServer>();
    QVERIFY(m_harness->prepareProgramFolder());
    QVERIFY(m_harness->startDisplay());
    QString why;
    if (!m_pulse->start(&why))
        E2E_SKIP_UNLESS_CI(qPrintable(why));
    QVERIFY(m_pulse->setUp(m_harness->display()));
    qputenv("PULSE_SERVER", m_pulse->address().toLocal8Bit());
    QVERIFY2(m_harness->startProgram() && m_harness->passIntro() &&
                 m_harness->waitForMainWindow() != 0,
             qPrintable(m_harness->describe()));
}

void SoundE2eTest::cleanup()
{
    m_harness.reset();
    m_pulse.reset();
}

QList<Burst> SoundE2eTest::record(const char* label, const QList<Turn>& turns)
{
    if (!m_pulse->startRecording())
        return {};
    for (const Turn& turn : turns) {
        const QRect button =
            turn.forward ? MainWindowGeometry::forward() : MainWindowGeometry::back();
        if (!m_harness->click(button.center()))
            return {};
        QThread::msleep(turn.waitMs);
    }
    // Time for a program slowed by a busy machine to play the last sound:
    // a sound that comes late is still heard, and only its place matters.
    QThread::msleep(2000);
    const QList<Burst> bursts = PulseServer::bursts(m_pulse->stopRecording(), PulseServer::kRate);
    qInfo("%s: %s", label, qPrintable(PulseServer::describe(bursts)));
    return bursts;
}

void SoundE2eTest::pageTurnSoundsPlayWhole()
{
    const QString folder = m_harness->programFolder();
    const Burst forward = PulseServer::fileBurst(folder + QStringLiteral("/sonido1.wav"));
    const Burst backward = PulseServer::fileBurst(folder + QStringLiteral("/sonido2.wav"));
    QVERIFY(std::abs(forward.crossingsPerMs - backward.crossingsPerMs) > 0.2); // two sounds
    QList<Burst> bursts = record("shipped sounds", {{true}, {true}, {false}, {false}});
    QCOMPARE(bursts.size(), 4);
    for (int i = 0; i < 4; ++i)
        QVERIFY2(sounds(bursts[i], i < 2 ? forward : backward), qPrintable(QString::number(i)));

    // A parent's own sound, in another format, is read at the next turn; a
    // quick second turn cuts it off well before its end.
    QVERIFY(PulseServer::writeTone(folder + QStringLiteral("/sonido1.wav"), 440, 1.0, 48000, 2));
    const Burst own = PulseServer::fileBurst(folder + QStringLiteral("/sonido1.wav"));
    bursts = record("1 s sound, then cut off", {{true, 1500}, {true, 300}, {false}});
    QVERIFY(bursts.size() >= 2 && sounds(bursts.first(), own));
    QVERIFY(bursts.last().startMs + bursts.last().lengthMs - bursts[1].startMs <
            own.lengthMs - 100);
}

void SoundE2eTest::unplayableSoundBeepsEveryTurn()
{
    QFile notASound(m_harness->programFolder() + QStringLiteral("/sonido1.wav"));
    QVERIFY(notASound.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(notASound.write("RIFF, but no sound in it") > 0);
    notASound.close();
    QVERIFY(m_harness->removeProgramFile(QStringLiteral("sonido2.wav")));
    QCOMPARE(record("beeps", {{true}, {true}, {true}, {false}, {false}}).size(), 5);
}

QTEST_GUILESS_MAIN(SoundE2eTest)
#include "SoundE2eTest.moc"
