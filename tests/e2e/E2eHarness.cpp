#include "e2e/E2eHarness.h"

#include "e2e/ImageCompare.h"
#include "e2e/MainWindowGeometry.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

const QRect E2eHarness::kContinueButton(72, 336, 289, 57);

namespace {

const QString kTitlePattern = QStringLiteral("^Tintaro$");

QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

E2eHarness::E2eHarness() : m_work(std::make_unique<QTemporaryDir>()) {}

E2eHarness::~E2eHarness()
{
    stopProcess(m_program.get(), 500);
    stopProcess(m_xvfb.get(), 2000);
    // A test may have made the drawings folder read-only; the temporary
    // folder can only be removed once it is writable again.
    if (m_folder && QFileInfo::exists(drawingsFolder())) {
        QFile::setPermissions(drawingsFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner);
    }
}

void E2eHarness::stopProcess(QProcess* process, int graceMs)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(graceMs)) {
        process->kill();
        process->waitForFinished(2000);
    }
}

// --- The program folder ---------------------------------------------------------

QString E2eHarness::sourceProgramFolder()
{
    return qEnvironmentVariable("TINTARO_PROGRAM_DIR");
}

bool E2eHarness::prepareProgramFolder()
{
    const QString source = sourceProgramFolder();
    // The Windows program folder holds tintaro.exe.
    if (source.isEmpty() || (!QFileInfo::exists(source + QStringLiteral("/tintaro")) &&
                             !QFileInfo::exists(source + QStringLiteral("/tintaro.exe"))))
        return false;
    m_folder = std::make_unique<QTemporaryDir>();
    if (!m_folder->isValid())
        return false;
    std::error_code error;
    std::filesystem::copy(source.toStdString(), m_folder->path().toStdString(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing,
                          error);
    return !error;
}

QString E2eHarness::programFolder() const
{
    return m_folder ? m_folder->path() : QString();
}

QString E2eHarness::drawingsFolder() const
{
    return programFolder() + QStringLiteral("/dibujos");
}

bool E2eHarness::clearDrawings()
{
    QDir folder(drawingsFolder());
    if (!folder.exists())
        return false;
    bool ok = true;
    const QFileInfoList entries =
        folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink())
            ok = QDir(entry.absoluteFilePath()).removeRecursively() && ok;
        else
            ok = QFile::remove(entry.absoluteFilePath()) && ok;
    }
    return ok;
}

bool E2eHarness::copySamplePage(int samplePage, const QString& name)
{
    const QString from = sourceProgramFolder() + QStringLiteral("/dibujos/%1.gif").arg(samplePage);
    const QString to = drawingsFolder() + QLatin1Char('/') + name;
    QFile::remove(to);
    return QFile::copy(from, to);
}

bool E2eHarness::writeDrawing(const QString& name, const QImage& image)
{
    const QString path = drawingsFolder() + QLatin1Char('/') + name;
    return image.save(path, QFileInfo(name).suffix().toUpper().toLatin1().constData());
}

bool E2eHarness::writeBorraTxt(const QByteArray& contents)
{
    QFile file(programFolder() + QStringLiteral("/borra.txt"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(contents) == contents.size();
}

bool E2eHarness::removeProgramFile(const QString& relativePath)
{
    return QFile::remove(programFolder() + QLatin1Char('/') + relativePath);
}

// --- Display and program ----------------------------------------------------------

bool E2eHarness::startDisplay()
{
    if (!m_work->isValid())
        return false;
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->setProgram(QStringLiteral("Xvfb"));
    // The server picks a free display itself and writes its number on
    // stdout, so parallel runs never share one.
    m_xvfb->setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                          QStringLiteral("-screen"), QStringLiteral("0"),
                          QStringLiteral("%1x%2x24").arg(m_screen.width()).arg(m_screen.height()),
                          QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                          // Without it the server resets whenever its last
                          // client leaves, and a client that connects during
                          // the reset (the program right after a probe) fails.
                          QStringLiteral("-noreset")});
    m_xvfb->setStandardErrorFile(m_work->filePath(QStringLiteral("xvfb.err")));
    m_xvfb->start();
    if (!m_xvfb->waitForStarted(5000))
        return false;
    QByteArray number;
    QDeadlineTimer deadline(10000);
    while (!number.contains('\n') && !deadline.hasExpired()) {
        if (m_xvfb->waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))))
            number += m_xvfb->readAllStandardOutput();
        if (m_xvfb->state() == QProcess::NotRunning)
            break;
    }
    bool ok = false;
    const int display = number.trimmed().toInt(&ok);
    if (!ok)
        return false;
    m_display = QStringLiteral(":%1").arg(display);
    // The server is ready once a client can talk to it.
    while (!deadline.hasExpired()) {
        if (runTool(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")}).ok)
            return true;
        QThread::msleep(50);
    }
    return false;
}

QProcessEnvironment E2eHarness::displayEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

void E2eHarness::useProgram(const QString& binary, const QStringList& arguments,
                            const QProcessEnvironment& environment)
{
    m_binary = binary;
    m_arguments = arguments;
    m_extraEnvironment = environment;
}

bool E2eHarness::startProgram()
{
    if (m_display.isEmpty() || (!m_folder && m_binary.isEmpty()))
        return false;
    m_program = std::make_unique<QProcess>();
    QProcessEnvironment env = displayEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_work->path());
    env.remove(QStringLiteral("TINTARO_PROGRAM_DIR"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_work->filePath(QStringLiteral("config")));
    env.insert(m_extraEnvironment);
    m_program->setProcessEnvironment(env);
    m_program->setWorkingDirectory(m_binary.isEmpty() ? programFolder() : m_work->path());
    m_program->setStandardOutputFile(m_work->filePath(QStringLiteral("program.out")));
    m_program->setStandardErrorFile(m_work->filePath(QStringLiteral("program.err")));
    const QString binary =
        m_binary.isEmpty() ? programFolder() + QStringLiteral("/tintaro") : m_binary;
    if (m_unprivileged) {
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime->path());
        m_program->setProcessEnvironment(env);
        m_program->setProgram(QStringLiteral("setpriv"));
        m_program->setArguments({QStringLiteral("--reuid=nobody"),
                                 QStringLiteral("--regid=nogroup"),
                                 QStringLiteral("--clear-groups"), binary});
    } else {
        m_program->setProgram(binary);
        m_program->setArguments(m_arguments);
    }
    m_program->start();
    return m_program->waitForStarted(5000);
}

bool E2eHarness::runProgramUnprivileged()
{
    if (::geteuid() != 0 || !m_folder ||
        QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return false;
    const passwd* user = ::getpwnam("nobody");
    const group* users = ::getgrnam("nogroup");
    if (!user || !users)
        return false;
    // The copied folder is private to its creator; the program must reach it.
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                      QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                      QFileDevice::ExeOther;
    if (!QFile::setPermissions(programFolder(), open))
        return false;
    m_runtime = std::make_unique<QTemporaryDir>();
    if (!m_runtime->isValid() ||
        ::chown(QFile::encodeName(m_runtime->path()).constData(), user->pw_uid, users->gr_gid) != 0)
        return false;
    m_unprivileged = true;
    return true;
}

qint64 E2eHarness::programPid() const
{
    return m_program ? m_program->processId() : 0;
}

bool E2eHarness::programRunning() const
{
    if (!m_program)
        return false;
    // Lets QProcess notice an exit without an event loop.
    m_program->waitForFinished(0);
    return m_program->state() != QProcess::NotRunning;
}

bool E2eHarness::isMainWindowGeometry(const QRect& geometry) const
{
    return geometry.size() == m_screen;
}

double E2eHarness::screenZoom() const
{
    return std::max(1.0, std::min(m_screen.width() / double(kScreenWidth),
                                  m_screen.height() / double(kScreenHeight)));
}

bool E2eHarness::isIntroGeometry(const QRect& geometry) const
{
    const double zoom = screenZoom();
    return geometry.width() >= 380 * zoom && geometry.width() <= 480 * zoom &&
           geometry.height() >= 380 * zoom && geometry.height() <= 480 * zoom;
}

bool E2eHarness::passIntro(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QDeadlineTimer nextClick(0);
    while (!deadline.hasExpired()) {
        for (qulonglong window : titledWindows()) {
            const QRect geometry = windowGeometry(window);
            if (isMainWindowGeometry(geometry)) {
                m_mainWindow = window;
                return true;
            }
            if ((m_introWindow == 0 || window == m_introWindow) && isIntroGeometry(geometry)) {
                m_introWindow = window;
                // Press again now and then in case the first press came
                // before the window could take it.
                if (nextClick.hasExpired()) {
                    click(geometry.topLeft() + kContinueButton.center() * screenZoom());
                    nextClick.setRemainingTime(3000);
                }
                continue;
            }
            if (window != m_introWindow && window != m_mainWindow)
                return true; // a message box, say that no page could be shown
        }
        if (!programRunning())
            return false;
        QThread::msleep(60);
    }
    return false;
}

qulonglong E2eHarness::waitForMainWindow(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        for (qulonglong window : titledWindows()) {
            if (isMainWindowGeometry(windowGeometry(window))) {
                m_mainWindow = window;
                return window;
            }
        }
        if (deadline.hasExpired() || !programRunning())
            return 0;
        QThread::msleep(60);
    }
}

bool E2eHarness::startToMainWindow()
{
    return startDisplay() && startProgram() && passIntro() && waitForMainWindow() != 0;
}

// --- Windows ------------------------------------------------------------------------

E2eHarness::ToolResult E2eHarness::runTool(const QString& program, const QStringList& arguments,
                                           int timeoutMs) const
{
    ToolResult result;
    QProcess process;
    process.setProcessEnvironment(displayEnvironment());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        return result;
    }
    result.out = process.readAllStandardOutput();
    result.exitCode = process.exitCode();
    result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return result;
}

QList<qulonglong> E2eHarness::titledWindows() const
{
    return windowsNamed(kTitlePattern);
}

QList<qulonglong> E2eHarness::windowsNamed(const QString& pattern) const
{
    QList<qulonglong> windows;
    const ToolResult found = runTool(QStringLiteral("xdotool"),
                                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                      QStringLiteral("--name"), pattern});
    for (const QByteArray& line : found.out.split('\n')) {
        bool ok = false;
        const qulonglong id = line.trimmed().toULongLong(&ok);
        if (ok)
            windows.append(id);
    }
    return windows;
}

QList<qulonglong> E2eHarness::programWindows() const
{
    QList<qulonglong> windows;
    if (!m_program || m_program->processId() == 0)
        return windows;
    const ToolResult found =
        runTool(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                 QString::number(m_program->processId())});
    for (const QByteArray& line : found.out.split('\n')) {
        bool ok = false;
        const qulonglong id = line.trimmed().toULongLong(&ok);
        if (ok)
            windows.append(id);
    }
    return windows;
}

QRect E2eHarness::windowGeometry(qulonglong window) const
{
    const ToolResult shell =
        runTool(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"),
                                            QStringLiteral("--shell"), QString::number(window)});
    int x = 0, y = 0, width = -1, height = -1;
    for (const QByteArray& line : shell.out.split('\n')) {
        const auto equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.left(equals);
        const int value = line.mid(equals + 1).trimmed().toInt();
        if (key == "X")
            x = value;
        else if (key == "Y")
            y = value;
        else if (key == "WIDTH")
            width = value;
        else if (key == "HEIGHT")
            height = value;
    }
    return width < 0 ? QRect() : QRect(x, y, width, height);
}

QList<qulonglong> E2eHarness::messageBoxes() const
{
    QList<qulonglong> boxes;
    for (qulonglong window : titledWindows()) {
        if (window == m_introWindow || window == m_mainWindow)
            continue;
        if (isMainWindowGeometry(windowGeometry(window)))
            continue;
        boxes.append(window);
    }
    return boxes;
}

QList<qulonglong> E2eHarness::waitForMessageBoxes(int count, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QList<qulonglong> boxes = messageBoxes();
        if (boxes.size() >= count)
            return boxes;
        if (deadline.hasExpired())
            return {};
        QThread::msleep(60);
    }
}

bool E2eHarness::closeWithReturn(qulonglong window, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    const QString id = QString::number(window);
    bool direct = false;
    while (!deadline.hasExpired()) {
        if (!titledWindows().contains(window))
            return true;
        // Without a window manager the box only gets keys once it has the
        // input focus; a key sent straight to the window is the fallback.
        if (!direct) {
            runTool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), id});
            runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
        } else {
            runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--window"),
                                                id, QStringLiteral("Return")});
        }
        direct = !direct;
        QDeadlineTimer settle(800);
        while (!settle.hasExpired()) {
            if (!titledWindows().contains(window))
                return true;
            QThread::msleep(60);
        }
    }
    return !titledWindows().contains(window);
}

// --- Input and output ---------------------------------------------------------------

bool E2eHarness::movePointer(QPoint screenPoint)
{
    if (screenPoint == m_pointer)
        return true;
    // Waiting for a move to where the pointer already is would never end,
    // hence the remembered position.
    const bool ok = runTool(QStringLiteral("xdotool"),
                            {QStringLiteral("mousemove"), QStringLiteral("--sync"),
                             QString::number(screenPoint.x()), QString::number(screenPoint.y())})
                        .ok;
    m_pointer = ok ? screenPoint : QPoint(-1, -1);
    return ok;
}

bool E2eHarness::click(QPoint screenPoint)
{
    if (!movePointer(screenPoint))
        return false;
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("click"), QStringLiteral("1")}).ok;
}

bool E2eHarness::doubleClick(QPoint screenPoint)
{
    if (!movePointer(screenPoint))
        return false;
    return runTool(QStringLiteral("xdotool"),
                   {QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                    QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")})
        .ok;
}

bool E2eHarness::pressButton(QPoint screenPoint)
{
    return movePointer(screenPoint) &&
           runTool(QStringLiteral("xdotool"), {QStringLiteral("mousedown"), QStringLiteral("1")})
               .ok;
}

bool E2eHarness::releaseButton()
{
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QStringLiteral("1")}).ok;
}

bool E2eHarness::key(const QString& keys)
{
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}).ok;
}

QImage E2eHarness::screenshot() const
{
    const ToolResult shot =
        runTool(QStringLiteral("import"),
                {QStringLiteral("-display"), m_display, QStringLiteral("-window"),
                 QStringLiteral("root"), QStringLiteral("png:-")},
                10000);
    if (!shot.ok)
        return {};
    return QImage::fromData(shot.out, "PNG").convertToFormat(QImage::Format_RGB32);
}

bool E2eHarness::waitForPixel(QPoint screenPoint, QColor colour, int timeoutMs, QImage* last) const
{
    const QRgb wanted = colour.rgb() | 0xff000000u;
    return waitForScreen(
        [&](const QImage& shot) {
            return shot.rect().contains(screenPoint) &&
                   (shot.pixel(screenPoint) | 0xff000000u) == wanted;
        },
        timeoutMs, last);
}

QImage E2eHarness::clipboardImage() const
{
    const ToolResult png =
        runTool(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                 QStringLiteral("image/png"), QStringLiteral("-o")});
    if (!png.ok)
        return {};
    return QImage::fromData(png.out, "PNG").convertToFormat(QImage::Format_RGB32);
}

int E2eHarness::waitForExit(int timeoutMs)
{
    if (!m_program)
        return -1;
    if (m_program->state() != QProcess::NotRunning && !m_program->waitForFinished(timeoutMs) &&
        m_program->state() != QProcess::NotRunning)
        return -1;
    if (m_program->exitStatus() != QProcess::NormalExit)
        return -1;
    return m_program->exitCode();
}

QByteArray E2eHarness::programStderr() const
{
    return readWholeFile(m_work->filePath(QStringLiteral("program.err")));
}

QString E2eHarness::describe() const
{
    QString text;
    QTextStream out(&text);
    out << "display " << m_display << ", program "
        << (programRunning() ? QStringLiteral("running") : QStringLiteral("not running"))
        << "; windows:";
    for (qulonglong window : titledWindows()) {
        const QRect g = windowGeometry(window);
        out << ' ' << window << '@' << g.x() << ',' << g.y() << ' ' << g.width() << 'x'
            << g.height();
    }
    out << "; stderr: " << QString::fromLocal8Bit(programStderr()).right(600);
    const bool serverUp =
        m_xvfb && (m_xvfb->waitForFinished(0), m_xvfb->state() != QProcess::NotRunning);
    out << "; X server " << (serverUp ? "running" : "not running") << ": "
        << QString::fromLocal8Bit(readWholeFile(m_work->filePath(QStringLiteral("xvfb.err"))))
               .right(400);
    return text;
}

QStringList E2eHarness::listing(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries << info.filePath() + QString::number(info.size()) +
                       info.lastModified().toString(Qt::ISODateWithMs);
    }
    entries.sort();
    return entries;
}

QString E2eHarness::saveArtefact(const QImage& image, const QString& name)
{
    QDir here(QDir::currentPath());
    here.mkpath(QStringLiteral("e2e-artefacts"));
    const QString path = here.filePath(QStringLiteral("e2e-artefacts/") + name + ".png");
    return image.save(path, "PNG") ? path : QString();
}

bool E2eHarness::canvasShows(const QImage& expected, const QString& label, QString* why,
                             int timeoutMs) const
{
    using ImageCompare::difference;
    const QRect inside = MainWindowGeometry::canvas(expected.size()).adjusted(1, 1, -1, -1);
    QImage shot;
    if (waitForScreen(
            [&](const QImage& s) { return difference(s.copy(inside), expected).isEmpty(); },
            timeoutMs, &shot))
        return true;
    *why = QStringLiteral("%1: canvas vs expected: %2; screenshot %3; %4")
               .arg(label, difference(shot.copy(inside), expected), saveArtefact(shot, label),
                    describe());
    return false;
}
