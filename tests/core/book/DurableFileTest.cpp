#include "core/book/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>

// The durable write, on its own: whatever goes wrong, the file at the name is
// the old one, whole, and no temporary is left beside it.
class DurableFileTest : public QObject {
    Q_OBJECT
private slots:
    void write_data();
    void write();
};

void DurableFileTest::write_data()
{
    QTest::addColumn<DurableFile::Mode>("mode");
    QTest::addColumn<bool>("writerFinishes");
    QTest::addColumn<int>("error"); // -1: none; 0: any
    QTest::addColumn<QByteArray>("left");
    QTest::newRow("replaced whole")
        << DurableFile::Mode::Replace << true << -1 << QByteArray("new");
    QTest::newRow("a write cut short keeps the old file")
        << DurableFile::Mode::Replace << false << 0 << QByteArray("old");
    QTest::newRow("a name already there is kept")
        << DurableFile::Mode::KeepExisting << true << int(EEXIST) << QByteArray("old");
}

void DurableFileTest::write()
{
    QFETCH(DurableFile::Mode, mode);
    QFETCH(bool, writerFinishes);
    QFETCH(int, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("1.bmp"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();

    const auto result =
        DurableFile::write(path, QStringLiteral(".1.bmp.XXXXXX"), mode, [&](QFileDevice& file) {
            return file.write("ne") == 2 && writerFinishes && file.write("w") == 1;
        });
    QCOMPARE(result.has_value(), error != -1);
    if (error > 0)
        QCOMPARE(result->code, error);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTEST(file.readAll(), "left");
    const QStringList entries = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(entries, QStringList{QStringLiteral("1.bmp")});
}

QTEST_GUILESS_MAIN(DurableFileTest)
#include "DurableFileTest.moc"
