#include "ui/SettingsWindow.h"
#include "core/settings/Settings.h"
#include "ui/FailureBoundary.h"

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The grown-ups' window, handed the user's choices: it shows those, not the
// ones on disk; a tick saves at once; a choice that cannot be saved is put
// back and said. Runs with a settings folder of its own (tests/CMakeLists.txt).
class SettingsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void choiceSaved_data();
    void choiceSaved();
};

namespace {

QStringList g_reported;

} // namespace

void SettingsWindowTest::choiceSaved_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("bookGone"); // the book's folder removed once the window shows
    QTest::addColumn<bool>("checked");  // the box after the press
    QTest::addColumn<QString>("saved"); // the user's choices read back, or borra.txt
    // Handed: the lock on and the sounds off, the opposite of a new user's.
    QTest::newRow("lock off") << "lock" << false << false << "lock=0 sounds=0";
    QTest::newRow("sounds on") << "sounds" << false << true << "lock=1 sounds=1";
    QTest::newRow("overnight on") << "overnight" << false << true << "borra.txt=NO\r\n";
    QTest::newRow("overnight on a book gone is put back")
        << "overnight" << true << false << "borra.txt=";
}

void SettingsWindowTest::choiceSaved()
{
    QFETCH(QString, choice);
    QFETCH(bool, bookGone);
    QFETCH(bool, checked);
    QFETCH(QString, saved);
    QTemporaryDir book;
    WindowState state;
    state.settings.setChildLock(true);
    state.settings.setSounds(false);
    SettingsWindow window(book.path(), state);
    QVERIFY(window.lockChoice()->isChecked() && !window.soundsChoice()->isChecked());
    QVERIFY(!window.overnightChoice()->isChecked());
    if (bookGone)
        QVERIFY(book.remove());
    g_reported.clear();
    FailureBoundary::setReporter([](const QString& message) { g_reported << message; });
    QCheckBox* box = choice == "lock"     ? window.lockChoice()
                     : choice == "sounds" ? window.soundsChoice()
                                          : window.overnightChoice();
    box->click();
    FailureBoundary::setReporter(nullptr);
    QCOMPARE(box->isChecked(), checked);
    QCOMPARE(g_reported.size(), bookGone ? 1 : 0);
    const Settings read = Settings::load();
    QFile borra(book.filePath("borra.txt"));
    QCOMPARE(choice == "overnight"
                 ? "borra.txt=" + QString::fromLatin1(borra.open(QIODevice::ReadOnly)
                                                          ? borra.readAll()
                                                          : QByteArray())
                 : QString("lock=%1 sounds=%2").arg(read.childLock()).arg(read.sounds()),
             saved);
}

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
