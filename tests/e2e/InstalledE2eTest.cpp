#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/MainWindowGeometry.h"

#include <QDirIterator>
#include <QtTest>

// The program as a parent installs it: `cmake --install` into a read-only
// prefix, started with a fresh home and no `dibujos` beside it, so that the
// child's book lives in the user's data folder.
class InstalledE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void installedFilesValidate();
    void bookIsTheUsersOwn();
    void debianPackageInstalls();

private:
    bool start(E2eHarness& harness, const QStringList& arguments = {});

    QTemporaryDir m_prefix;
    QTemporaryDir m_user;
    QStringList m_installed;
    QImage m_page1;
    QImage m_page1Red;
    QImage m_page2;
    QPoint m_inside;
};

namespace {

const QString kAppId = QStringLiteral(TINTARO_APP_ID);

struct Ran {
    int code = -1;
    QString out;
};

Ran run(const QString& program, const QStringList& arguments, int timeoutMs = 60000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Ran ran;
    if (process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit)
        ran.code = process.exitCode();
    ran.out = QString::fromLocal8Bit(process.readAll());
    return ran;
}

// Every file and folder under `root` with its size and time of change.
QStringList listing(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries << QStringLiteral("%1 %2 %3")
                       .arg(info.filePath())
                       .arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

} // namespace

void InstalledE2eTest::initTestCase()
{
    const Ran installed =
        run(QStringLiteral("cmake"), {"--install", TINTARO_BUILD_DIR, "--prefix", m_prefix.path()});
    QVERIFY2(installed.code == 0, qPrintable(installed.out));
    QCOMPARE(run(QStringLiteral("chmod"), {"-R", "a-w", m_prefix.path()}).code, 0);
    m_installed = listing(m_prefix.path());

    const QString sample = m_prefix.filePath(QStringLiteral("share/tintaro/dibujos/"));
    m_page1 = QImage(sample + "1.gif").convertToFormat(QImage::Format_RGB32);
    m_page2 = QImage(sample + "2.gif").convertToFormat(QImage::Format_RGB32);
    const QList<DrawingProbe::Area> areas = DrawingProbe::enclosedWhiteAreas(m_page1);
    QVERIFY2(!areas.isEmpty() && m_page1.size() == m_page2.size(), "no usable sample book");
    m_inside = areas.first().inside;
    m_page1Red = DrawingProbe::filled(m_page1, m_inside, qRgb(255, 0, 0));
}

void InstalledE2eTest::cleanupTestCase()
{
    run(QStringLiteral("chmod"), {"-R", "u+w", m_prefix.path()});
}

bool InstalledE2eTest::start(E2eHarness& harness, const QStringList& arguments)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), m_user.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_user.filePath(QStringLiteral("data")));
    QDir().mkpath(m_user.filePath(QStringLiteral("home")));
    harness.useProgram(m_prefix.filePath(QStringLiteral("bin/tintaro")), arguments, environment);
    return harness.startToMainWindow();
}

void InstalledE2eTest::installedFilesValidate()
{
    const QString share = m_prefix.filePath(QStringLiteral("share/"));
    const Ran desktop = run(QStringLiteral("desktop-file-validate"),
                            {share + "applications/" + kAppId + ".desktop"});
    // Hints (such as two main categories) are allowed; errors and warnings not.
    QVERIFY2(desktop.code == 0 && !desktop.out.contains(QStringLiteral("error:")) &&
                 !desktop.out.contains(QStringLiteral("warning:")),
             qPrintable(desktop.out));
    const Ran appstream =
        run(QStringLiteral("appstreamcli"),
            {"validate", "--no-net", share + "metainfo/" + kAppId + ".metainfo.xml"});
    QVERIFY2(appstream.code == 0, qPrintable(appstream.out));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString icon = share + QStringLiteral("icons/hicolor/%1x%1/apps/").arg(size) + kAppId;
        QCOMPARE(QImage(icon + ".png").size(), QSize(size, size));
    }
}

void InstalledE2eTest::bookIsTheUsersOwn()
{
    const QString book = m_user.filePath(QStringLiteral("data/Tintaro"));
    const QPoint inside = MainWindowGeometry::canvasPixel(m_page1.size(), m_inside);
    QString why;
    {
        E2eHarness harness;
        QVERIFY2(start(harness), qPrintable(harness.describe()));
        QVERIFY(harness.click(inside));
        QVERIFY2(harness.canvasShows(m_page1Red, QStringLiteral("installed-filled"), &why),
                 qPrintable(why));
        QVERIFY(harness.click(MainWindowGeometry::command4().center()));
        QVERIFY2(harness.canvasShows(m_page2, QStringLiteral("installed-page-2"), &why),
                 qPrintable(why));
        QCOMPARE(QImage(book + "/dibujos/1.bmp").pixel(m_inside), qRgb(255, 0, 0));
        QVERIFY(harness.click(MainWindowGeometry::command2().center()));
        QCOMPARE(harness.waitForExit(), 0);
    }
    QCOMPARE(QDir(book + "/dibujos").entryList({"*.gif"}).size(), 6);
    QCOMPARE(listing(m_prefix.path()), m_installed);

    // Its own borra.txt keeps the coloured page for the next start.
    QFile borra(book + "/borra.txt");
    QVERIFY(borra.open(QIODevice::WriteOnly) && borra.write("NO\r\n") == 4);
    borra.close();
    {
        E2eHarness harness;
        QVERIFY2(start(harness), qPrintable(harness.describe()));
        QVERIFY2(harness.canvasShows(m_page1Red, QStringLiteral("installed-kept"), &why, 8000),
                 qPrintable(why));
    }

    // A book on a stick, its page 1 being the sample's page 2.
    QTemporaryDir stick;
    QVERIFY(QDir(stick.path()).mkdir(QStringLiteral("dibujos")));
    QVERIFY(m_page2.save(stick.filePath(QStringLiteral("dibujos/1.gif")), "BMP"));
    {
        E2eHarness harness;
        QVERIFY2(start(harness, {QStringLiteral("--book"), stick.path()}),
                 qPrintable(harness.describe()));
        QVERIFY2(harness.canvasShows(m_page2, QStringLiteral("installed-stick"), &why, 8000),
                 qPrintable(why));
    }
    QCOMPARE(listing(m_prefix.path()), m_installed);
}

void InstalledE2eTest::debianPackageInstalls()
{
    if (qEnvironmentVariable("TINTARO_PACKAGE_TEST") != QLatin1String("1"))
        QSKIP("TINTARO_PACKAGE_TEST=1 builds, installs and removes the Debian package");
    const Ran built = run(QStringLiteral(TINTARO_SOURCE_DIR "/scripts/package.sh"), {}, 240000);
    QVERIFY2(built.code == 0, qPrintable(built.out));
    const QStringList debs = QDir(TINTARO_BUILD_DIR).entryList({"tintaro_*.deb"});
    QCOMPARE(debs.size(), 1);
    const Ran installed = run(QStringLiteral("apt-get"),
                              {"install", "-y", QStringLiteral(TINTARO_BUILD_DIR "/") + debs[0]});
    QVERIFY2(installed.code == 0, qPrintable(installed.out));
    QVERIFY(QFile::exists("/usr/share/applications/" + kAppId + ".desktop"));
    QVERIFY(QFile::exists(QStringLiteral("/usr/share/tintaro/dibujos/1.gif")));
    QCOMPARE(run(QStringLiteral("/usr/bin/tintaro"), {"--help"}).code, 0);
    QCOMPARE(run(QStringLiteral("dpkg"), {"-r", "tintaro"}).code, 0);
    QVERIFY(!QFile::exists(QStringLiteral("/usr/bin/tintaro")));
}

QTEST_GUILESS_MAIN(InstalledE2eTest)
#include "InstalledE2eTest.moc"
