#pragma once

#include <QByteArray>
#include <QColor>
#include <QDeadlineTimer>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

// What a test needs but the machine lacks (a server, a privilege) skips it on
// a developer's machine; with CI set the project's scripts have installed it
// all, so a missing one is a fault and fails the test.
#define E2E_SKIP_UNLESS_CI(why)                                                                    \
    do {                                                                                           \
        if (qEnvironmentVariableIsSet("CI"))                                                       \
            QFAIL(why);                                                                            \
        QSKIP(why);                                                                                \
    } while (false)

// Drives the real program end to end: a private copy of the program folder,
// a private X server, the program started from that copy, and xdotool,
// ImageMagick and xclip to press, look and read the clipboard. Every wait has
// a deadline, so a broken program makes a test fail instead of hang.
// Everything started here is stopped when the harness is destroyed.
class E2eHarness {
public:
    // The size of the private screen.
    static constexpr int kScreenWidth = 1024;
    static constexpr int kScreenHeight = 768;
    // The intro window's CONTINUAR button, in its client pixels.
    static const QRect kContinueButton;

    E2eHarness();
    ~E2eHarness();
    E2eHarness(const E2eHarness&) = delete;
    E2eHarness& operator=(const E2eHarness&) = delete;

    // --- The program folder -------------------------------------------------

    // Copies the program folder named by TINTARO_PROGRAM_DIR into a fresh
    // temporary folder. Must be called (and succeed) before anything else.
    bool prepareProgramFolder();
    QString programFolder() const;
    QString drawingsFolder() const;
    // The folder the program was built into, where the sample book lives.
    static QString sourceProgramFolder();

    // Removes every entry of the copied `dibujos`.
    bool clearDrawings();
    // Copies the sample book's page `samplePage` to `dibujos/<name>`.
    bool copySamplePage(int samplePage, const QString& name);
    // Writes `dibujos/<name>` from an image, in the format the suffix names.
    bool writeDrawing(const QString& name, const QImage& image);
    bool writeBorraTxt(const QByteArray& contents);
    bool removeProgramFile(const QString& relativePath);

    // --- Display and program ------------------------------------------------

    // Starts a private Xvfb of 1024 × 768 × 24 (or the size set before) on a
    // display it picks itself.
    bool startDisplay();
    void setScreenSize(QSize size) { m_screen = size; }
    // The zoom the program shows its windows at on that screen.
    double screenZoom() const;
    QString display() const { return m_display; }

    // Starts the copied program with the private display, and with a
    // settings folder (XDG_CONFIG_HOME) of its own unless the test names one:
    // the choices of whoever runs the tests never reach the program.
    bool startProgram();
    // Makes startProgram start `binary` (an installed one, say) with
    // `arguments` and the variables of `environment` added, instead of the
    // copied program; no program folder is then needed.
    void useProgram(const QString& binary, const QStringList& arguments,
                    const QProcessEnvironment& environment);
    // Runs the program as the unprivileged user "nobody" (through setpriv),
    // so that file permissions bind it even when the tests run as the
    // super-user. Only possible for the super-user; returns whether it is.
    bool runProgramUnprivileged();
    qint64 programPid() const;
    bool programRunning() const;

    // After start: clicks CONTINUAR when the intro window shows, and returns
    // once a main window or some other program window (a message box) shows.
    bool passIntro(int timeoutMs = 10000);
    // Waits for the full-screen main window; returns its id, 0 on timeout.
    qulonglong waitForMainWindow(int timeoutMs = 10000);
    // Convenience: prepareProgramFolder must have run. Display, program,
    // intro, main window, and a first screenshot showing the canvas.
    bool startToMainWindow();

    // --- Windows --------------------------------------------------------------

    // Visible windows titled "Tintaro" (main window, intro, message boxes).
    QList<qulonglong> titledWindows() const;
    // Visible windows whose title matches the regular expression `pattern`.
    QList<qulonglong> windowsNamed(const QString& pattern) const;
    // Visible windows that belong to the program's process, whatever their title.
    QList<qulonglong> programWindows() const;
    QRect windowGeometry(qulonglong window) const;
    // Visible titled windows that are neither the main window nor the intro.
    QList<qulonglong> messageBoxes() const;
    // Waits until `count` message boxes show; returns them (empty on timeout).
    QList<qulonglong> waitForMessageBoxes(int count = 1, int timeoutMs = 10000) const;
    // Presses Return on a window and waits until it is gone.
    bool closeWithReturn(qulonglong window, int timeoutMs = 5000);

    // --- Input and output -----------------------------------------------------

    bool click(QPoint screenPoint);
    bool doubleClick(QPoint screenPoint);
    // Presses the left button at a point and keeps it down; `releaseButton` lets go.
    bool pressButton(QPoint screenPoint);
    bool releaseButton();
    // Presses keys as xdotool names them (e.g. "ctrl+y") in the window under the pointer.
    bool key(const QString& keys);
    // The whole screen; a null image when it could not be taken.
    QImage screenshot() const;
    // Polls screenshots until the pixel shows `colour`; the last screenshot
    // is kept in `last` when given.
    bool waitForPixel(QPoint screenPoint, QColor colour, int timeoutMs = 5000,
                      QImage* last = nullptr) const;
    // Polls screenshots until `check` holds for one; returns that screenshot
    // (or the last one taken, when the deadline passed) in `last`.
    template <typename Check>
    bool waitForScreen(Check check, int timeoutMs, QImage* last = nullptr) const;
    // Waits until the inside of the canvas, placed for a page of
    // `expected`'s size, shows `expected`; on failure says why in `why`.
    bool canvasShows(const QImage& expected, const QString& label, QString* why,
                     int timeoutMs = 5000) const;
    // The clipboard's image/png contents, read by another process.
    QImage clipboardImage() const;

    // Waits for the program to end; returns its exit status, or -1 when it
    // is still running at the deadline or crashed.
    int waitForExit(int timeoutMs = 10000);
    // Everything the program wrote to stderr so far.
    QByteArray programStderr() const;

    // A short text on what the harness saw, for failure messages.
    QString describe() const;
    // Keeps a screenshot for whoever reads a failure: saved as
    // e2e-artefacts/<name>.png under the working folder; returns its path.
    static QString saveArtefact(const QImage& image, const QString& name);
    // Every entry under `root` with its size and time of change, sorted: two
    // listings differ when anything under it was added, removed or written.
    static QStringList listing(const QString& root);

private:
    struct ToolResult {
        bool ok = false;
        int exitCode = -1;
        QByteArray out;
    };

    ToolResult runTool(const QString& program, const QStringList& arguments,
                       int timeoutMs = 5000) const;
    QProcessEnvironment displayEnvironment() const;
    bool isMainWindowGeometry(const QRect& geometry) const;
    bool isIntroGeometry(const QRect& geometry) const;
    bool movePointer(QPoint screenPoint);
    void stopProcess(QProcess* process, int graceMs);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_program;
    QString m_display;
    QSize m_screen{kScreenWidth, kScreenHeight};
    qulonglong m_introWindow = 0;
    qulonglong m_mainWindow = 0;
    QPoint m_pointer{-1, -1};
    bool m_unprivileged = false;
    std::unique_ptr<QTemporaryDir> m_runtime;
    QString m_binary;
    QStringList m_arguments;
    QProcessEnvironment m_extraEnvironment;
};

template <typename Check>
bool E2eHarness::waitForScreen(Check check, int timeoutMs, QImage* last) const
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QImage shot = screenshot();
        if (!shot.isNull() && check(shot)) {
            if (last)
                *last = shot;
            return true;
        }
        if (deadline.hasExpired()) {
            if (last)
                *last = shot;
            return false;
        }
        QThread::msleep(60);
    }
}
