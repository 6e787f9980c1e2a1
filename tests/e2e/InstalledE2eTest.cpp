#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/MainWindowGeometry.h"

#include <QRegularExpression>
#include <QtTest>

// The program as a parent installs it: `cmake --install` into a read-only
// prefix, started with a fresh home and no `dibujos` beside it.
class InstalledE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void installedFilesValidate();
    void packageIsLintianClean();
    void bookIsTheUsersOwn();

private:
    bool start(E2eHarness& harness, const QStringList& arguments = {});

    QTemporaryDir m_prefix;
    QTemporaryDir m_user;
    QStringList m_installed;
    QImage m_page1Red;
    QImage m_page2;
    QPoint m_inside;
};

namespace {

const QString kAppId = QStringLiteral(TINTARO_APP_ID);

// The exit status (-1 when it did not end in time) and everything printed.
std::pair<int, QString> run(const QString& program, const QStringList& arguments,
                            int milliseconds = 60000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ended =
        process.waitForFinished(milliseconds) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAll())};
}

// The lines of a validator's report that are findings: "E: …", "W: …", "I: …".
QStringList findings(const QString& report, const QString& kinds)
{
    const QRegularExpression finding(QStringLiteral("^[%1]: .*$").arg(kinds),
                                     QRegularExpression::MultilineOption);
    QStringList lines;
    for (auto it = finding.globalMatch(report); it.hasNext();)
        lines << it.next().captured();
    return lines;
}

} // namespace

void InstalledE2eTest::initTestCase()
{
    const auto [status, out] =
        run("cmake", {"--install", TINTARO_BUILD_DIR, "--prefix", m_prefix.path()});
    QVERIFY2(status == 0, qPrintable(out));
    QCOMPARE(run("chmod", {"-R", "a-w", m_prefix.path()}).first, 0);
    m_installed = E2eHarness::listing(m_prefix.path());

    const QString sample = m_prefix.filePath("share/tintaro/dibujos/");
    const QImage page1 = QImage(sample + "1.gif").convertToFormat(QImage::Format_RGB32);
    m_page2 = QImage(sample + "2.gif").convertToFormat(QImage::Format_RGB32);
    const QList<DrawingProbe::Area> areas = DrawingProbe::enclosedWhiteAreas(page1);
    QVERIFY2(!areas.isEmpty() && page1.size() == m_page2.size(), "no usable sample book");
    m_inside = areas.first().inside;
    m_page1Red = DrawingProbe::filled(page1, m_inside, qRgb(255, 0, 0));
}

void InstalledE2eTest::cleanupTestCase()
{
    run("chmod", {"-R", "u+w", m_prefix.path()});
}

bool InstalledE2eTest::start(E2eHarness& harness, const QStringList& arguments)
{
    QProcessEnvironment environment;
    environment.insert("HOME", m_user.filePath("home"));
    environment.insert("XDG_DATA_HOME", m_user.filePath("data"));
    harness.useProgram(m_prefix.filePath("bin/tintaro"), arguments, environment);
    return harness.startToMainWindow();
}

void InstalledE2eTest::installedFilesValidate()
{
    const QString share = m_prefix.filePath("share/");
    // Not even a hint: two main categories would list the program twice.
    const auto [status, out] =
        run("desktop-file-validate", {share + "applications/" + kAppId + ".desktop"});
    QVERIFY2(status == 0 && out.isEmpty(), qPrintable(out));
    const auto [valid, report] =
        run("appstreamcli",
            {"validate", "--pedantic", "--no-net", share + "metainfo/" + kAppId + ".metainfo.xml"});
    QVERIFY2(valid == 0 && findings(report, "EWIP").isEmpty(), qPrintable(report));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        QCOMPARE(
            QImage(share + QString("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId)).size(),
            QSize(size, size));
}

// The Debian package scripts/package.sh makes, as Debian's own checker sees it.
void InstalledE2eTest::packageIsLintianClean()
{
    QTemporaryDir out;
    const auto [made, log] =
        run("cpack",
            {"-G", "DEB", "-B", out.path(), "--config", TINTARO_BUILD_DIR "/CPackConfig.cmake"},
            180000);
    const QStringList debs = QDir(out.path()).entryList({"tintaro_*.deb"});
    QVERIFY2(made == 0 && debs.size() == 1, qPrintable(log));
    const auto [status, report] =
        run("lintian", {"--info", "--pedantic", out.filePath(debs.first())}, 180000);
    QVERIFY2(findings(report, "EW").isEmpty(), qPrintable(report));
    QVERIFY2(status == 0, qPrintable(report));
}

void InstalledE2eTest::bookIsTheUsersOwn()
{
    const QString book = m_user.filePath("data/Tintaro");
    QString why;
    {
        E2eHarness harness;
        QVERIFY2(start(harness), qPrintable(harness.describe()));
        QVERIFY(harness.click(MainWindowGeometry::canvasPixel(m_page2.size(), m_inside)));
        QVERIFY2(harness.canvasShows(m_page1Red, "installed-filled", &why), qPrintable(why));
        QVERIFY(harness.click(MainWindowGeometry::forward().center()));
        QVERIFY2(harness.canvasShows(m_page2, "installed-page-2", &why), qPrintable(why));
        QCOMPARE(QImage(book + "/dibujos/1.bmp").pixel(m_inside), qRgb(255, 0, 0));
        QVERIFY(harness.click(MainWindowGeometry::door().center()));
        QCOMPARE(harness.waitForExit(), 0);
    }
    QCOMPARE(QDir(book + "/dibujos").entryList({"*.gif"}).size(), 6);
    QCOMPARE(E2eHarness::listing(m_prefix.path()), m_installed);

    // The next start finds the same book, and its own borra.txt keeps the page.
    QFile borra(book + "/borra.txt");
    QVERIFY(borra.open(QIODevice::WriteOnly) && borra.write("NO\r\n") == 4);
    borra.close();
    {
        E2eHarness harness;
        QVERIFY2(start(harness), qPrintable(harness.describe()));
        QVERIFY2(harness.canvasShows(m_page1Red, "installed-kept", &why, 8000), qPrintable(why));
    }

    // A book on a stick, its page 1 being the sample's page 2.
    QTemporaryDir stick;
    QVERIFY(QDir(stick.path()).mkdir("dibujos"));
    QVERIFY(m_page2.save(stick.filePath("dibujos/1.gif"), "BMP"));
    E2eHarness harness;
    QVERIFY2(start(harness, {"--book", stick.path()}), qPrintable(harness.describe()));
    QVERIFY2(harness.canvasShows(m_page2, "installed-stick", &why, 8000), qPrintable(why));
    QCOMPARE(E2eHarness::listing(m_prefix.path()), m_installed);
}

QTEST_GUILESS_MAIN(InstalledE2eTest)
#include "InstalledE2eTest.moc"
