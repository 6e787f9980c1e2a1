#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/MainWindowGeometry.h"

#include <QtTest>

// The Windows setup program as a family meets it, in a Wine prefix of its own:
// installed silently, Tintaro started from its Start-menu entry, coloured,
// installed again over itself, then removed. The slots run in order, each on
// what the one before left. TINTARO_WINDOWS_SETUP names the setup program.
class WindowsSetupE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void installsForTheUser();
    void bookIsTheUsersOwn();
    void upgradeKeepsTheBook();
    void uninstallKeepsTheBook();

private:
    int wine(const QStringList& arguments, QByteArray* out = nullptr) const;
    void wineServer(const QString& option) const;

    QTemporaryDir m_prefix;
    QString m_user;
    QString m_programs;
    QString m_copy;
};

namespace {

const QString kUninstallKey =
    QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tintaro");

QString installFolder(const QString& user)
{
    return user + QStringLiteral("/AppData/Local/Programs/Tintaro");
}

// The program a shortcut starts, as the path it holds: Wine's `start` of a
// shortcut returns at once, so the test starts the target itself.
QString shortcutTarget(const QString& shortcut)
{
    QFile file(shortcut);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression path(QStringLiteral("[A-Z]:\\\\[^\\x00]*\\.exe"),
                                         QRegularExpression::CaseInsensitiveOption);
    return path.match(QString::fromLatin1(file.readAll())).captured();
}

} // namespace

void WindowsSetupE2eTest::wineServer(const QString& option) const
{
    QProcess::execute(QStringLiteral("env"), {QStringLiteral("WINEPREFIX=") + m_prefix.path(),
                                              QStringLiteral("wineserver"), option});
}

int WindowsSetupE2eTest::wine(const QStringList& arguments, QByteArray* out) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEPREFIX"), m_prefix.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("wine"), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (out)
        *out = process.readAllStandardOutput();
    return process.exitCode();
}

void WindowsSetupE2eTest::initTestCase()
{
    QVERIFY2(QFileInfo::exists(qEnvironmentVariable("TINTARO_WINDOWS_SETUP")),
             "TINTARO_WINDOWS_SETUP must name the setup program");
    QVERIFY(wine({QStringLiteral("wineboot"), QStringLiteral("-i")}) == 0);
    wineServer(QStringLiteral("-p"));
    // Wine names the one user's folder after the login; "Public" is everyone's.
    QStringList users = QDir(m_prefix.filePath(QStringLiteral("drive_c/users")))
                            .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    users.removeAll(QStringLiteral("Public"));
    QVERIFY2(users.size() == 1, "the prefix has no folder for this user");
    m_user = m_prefix.filePath(QStringLiteral("drive_c/users/") + users.first());
    m_programs = m_user + QStringLiteral("/AppData/Roaming/Microsoft/Windows/Start Menu/Programs");
    m_copy = m_user + QStringLiteral("/AppData/Roaming/Tintaro/dibujos/1.bmp");
}

void WindowsSetupE2eTest::cleanupTestCase()
{
    wineServer(QStringLiteral("-k"));
}

void WindowsSetupE2eTest::installsForTheUser()
{
    QCOMPARE(wine({qEnvironmentVariable("TINTARO_WINDOWS_SETUP"), QStringLiteral("/S")}), 0);
    QVERIFY(QFileInfo::exists(installFolder(m_user) + QStringLiteral("/tintaro.exe")));
    for (const char* entry : {"Tintaro", "Ajustes de Tintaro", "Imprimir dibujos para colorear"})
        QVERIFY2(QFileInfo::exists(m_programs + QStringLiteral("/Tintaro/%1.lnk").arg(entry)),
                 entry);
    QByteArray key;
    QCOMPARE(wine({QStringLiteral("reg"), QStringLiteral("query"), kUninstallKey}, &key), 0);
    QVERIFY2(key.contains("DisplayName") && key.contains("desinstalar.exe"), key.constData());
}

void WindowsSetupE2eTest::bookIsTheUsersOwn()
{
    const QStringList installed = E2eHarness::listing(installFolder(m_user));
    const QString sample = installFolder(m_user) + QStringLiteral("/datos/dibujos/");
    const QImage page1 = QImage(sample + "1.gif").convertToFormat(QImage::Format_RGB32);
    const QImage page2 = QImage(sample + "2.gif").convertToFormat(QImage::Format_RGB32);
    const QList<DrawingProbe::Area> areas = DrawingProbe::enclosedWhiteAreas(page1);
    QVERIFY2(!areas.isEmpty(), "no sample page installed");
    const QPoint inside = areas.first().inside;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("WINEPREFIX"), m_prefix.path());
    // Wine's desktop process keeps the display of the program that started
    // it, and the setup program had none: a new server starts a new desktop.
    wineServer(QStringLiteral("-k"));
    wineServer(QStringLiteral("-w"));
    E2eHarness harness;
    const QString target = shortcutTarget(m_programs + QStringLiteral("/Tintaro/Tintaro.lnk"));
    QVERIFY2(target.endsWith(QStringLiteral("\\tintaro.exe")), qPrintable(target));
    harness.useProgram(QStringLiteral("wine"), {target}, environment);
    // The first program in a new prefix waits for Wine to set it up.
    QVERIFY2(harness.startDisplay() && harness.startProgram() && harness.passIntro(60000) &&
                 harness.waitForMainWindow(20000) != 0,
             qPrintable(harness.describe()));
    QString why;
    harness.click(MainWindowGeometry::canvasPixel(page1.size(), inside));
    harness.click(MainWindowGeometry::forward().center());
    QVERIFY2(harness.canvasShows(page2, QStringLiteral("setup-page-2"), &why), qPrintable(why));
    harness.click(MainWindowGeometry::door().center());
    QCOMPARE(harness.waitForExit(20000), 0);
    QCOMPARE(QImage(m_copy).pixel(inside), qRgb(255, 0, 0));
    QCOMPARE(E2eHarness::listing(installFolder(m_user)), installed);
}

void WindowsSetupE2eTest::upgradeKeepsTheBook()
{
    const QByteArray before = QFileInfo(m_copy).lastModified().toString().toUtf8();
    QCOMPARE(wine({qEnvironmentVariable("TINTARO_WINDOWS_SETUP"), QStringLiteral("/S")}), 0);
    QVERIFY(QFileInfo::exists(installFolder(m_user) + QStringLiteral("/tintaro.exe")));
    QCOMPARE(QFileInfo(m_copy).lastModified().toString().toUtf8(), before);
}

void WindowsSetupE2eTest::uninstallKeepsTheBook()
{
    // The uninstaller runs a copy of itself from the temporary folder and
    // returns at once; its work shows in the files.
    QCOMPARE(
        wine({installFolder(m_user) + QStringLiteral("/desinstalar.exe"), QStringLiteral("/S")}),
        0);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(installFolder(m_user)), 60000);
    QVERIFY(!QFileInfo::exists(m_programs + QStringLiteral("/Tintaro")));
    QVERIFY(wine({QStringLiteral("reg"), QStringLiteral("query"), kUninstallKey}) != 0);
    QVERIFY(QFileInfo::exists(m_copy));
}

QTEST_GUILESS_MAIN(WindowsSetupE2eTest)
#include "WindowsSetupE2eTest.moc"
