#include "core/settings/Settings.h"
#include "core/book/Failure.h"
#include "core/settings/SettingsFormat.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The user's choices and the book's borra.txt, written and read back.
class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void writtenAndReadBack_data();
    void writtenAndReadBack();

private:
    QTemporaryDir m_config;
};

void SettingsTest::initTestCase()
{
    // Before the first QSettings, which reads it once for the process.
    QSettings::setPath(SettingsFormat::format(), QSettings::UserScope, m_config.path());
}

void SettingsTest::writtenAndReadBack_data()
{
    QTest::addColumn<QByteArray>("before"); // borra.txt, null for none
    QTest::addColumn<bool>("keep");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("lock");
    QTest::addColumn<bool>("sounds");
    QTest::newRow("none, keep") << QByteArray() << true << QByteArray("NO\r\n") << true << false;
    QTest::newRow("No left as it is")
        << QByteArray("No") << true << QByteArray("No") << false << true;
    QTest::newRow("no removed") << QByteArray("no\r\n") << false << QByteArray() << true << true;
    QTest::newRow("SI left") << QByteArray("SI") << false << QByteArray("SI") << false << false;
    QTest::newRow("SI replaced") << QByteArray("SI") << true << QByteArray("NO\r\n") << true
                                 << true;
    QTest::newRow("NO and a line feed left as it is")
        << QByteArray("NO\n") << true << QByteArray("NO\n") << false << true;
}

void SettingsTest::writtenAndReadBack()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, keep);
    QFETCH(QByteArray, after);
    QFETCH(bool, lock);
    QFETCH(bool, sounds);
    QTemporaryDir book;
    QFile borra(book.filePath(QStringLiteral("borra.txt")));
    if (!before.isNull())
        QVERIFY(borra.open(QIODevice::WriteOnly) && borra.write(before) == before.size());
    borra.close();

    Settings::setKeepsColouringOvernight(book.path(), keep);
    Settings written;
    written.setChildLock(lock);
    written.setSounds(sounds);
    written.save();

    QCOMPARE(Settings::keepsColouringOvernight(book.path()), keep);
    QCOMPARE(borra.exists(), !after.isNull());
    if (borra.exists()) {
        QVERIFY(borra.open(QIODevice::ReadOnly));
        QCOMPARE(borra.readAll(), after);
    }
    const Settings read = Settings::load();
    QCOMPARE(read.childLock(), lock);
    QCOMPARE(read.sounds(), sounds);
    QCOMPARE(QDir(m_config.filePath(QStringLiteral("Tintaro"))).entryList(QDir::Files).size(), 1);
    // A book folder gone: said, never taken for success.
    QVERIFY_THROWS_EXCEPTION(Failure,
                             Settings::setKeepsColouringOvernight(book.filePath("gone"), true));
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "SettingsTest.moc"
