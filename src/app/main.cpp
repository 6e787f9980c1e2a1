#include "app/AddCommand.h"
#include "app/ScreenZoom.h"
#include "book/Failure.h"
#include "folders/AppFolders.h"
#include "geometry/Zoom.h"
#include "ui/FailureBoundary.h"
#include "ui/Form2.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The command line: `--book DIR` names the book to use instead of the usual
// one; `--add [FILE…]` adds drawings to it and ends without opening it.
struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption book{
        QStringLiteral("book"),
        QStringLiteral("Usa como libro la carpeta DIR, que guarda los dibujos en «dibujos»."),
        QStringLiteral("DIR")};
    QCommandLineOption add{QStringLiteral("add"),
                           QStringLiteral("Añade cada ARCHIVO (PNG, JPEG, GIF, BMP, WebP, TIFF, "
                                          "SVG o PDF) como dibujo nuevo al final del libro y "
                                          "termina; sin archivos, pregunta cuáles.")};
    QCommandLineOption zoom{
        QStringLiteral("zoom"),
        QStringLiteral("Muestra las ventanas F veces más grandes que en una pantalla de "
                       "1024 × 768 (de 1 a 16; 1 es el tamaño original). Sin esta opción "
                       "crecen con la pantalla."),
        QStringLiteral("F")};

    explicit CommandLine(const QCoreApplication& app)
    {
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(book);
        parser.addOption(add);
        parser.addOption(zoom);
        parser.addPositionalArgument(QStringLiteral("ARCHIVO"),
                                     QStringLiteral("Un dibujo para --add."),
                                     QStringLiteral("[ARCHIVO…]"));
        parser.process(app);
    }

    // The zoom asked for with --zoom, 0 when none; a value out of range
    // ends the program with a message, as the parser does for its own.
    double manualZoom() const
    {
        if (!parser.isSet(zoom))
            return 0;
        bool ok = false;
        const double factor = parser.value(zoom).toDouble(&ok);
        if (ok && factor >= 1 && factor <= Zoom::kLargest)
            return factor;
        std::fprintf(stderr, "Tintaro: --zoom espera un número de 1 a 16, no «%s».\n",
                     parser.value(zoom).toLocal8Bit().constData());
        std::exit(2);
    }
};

AppFolders::Places startPlaces(const QString& bookOption)
{
    AppFolders::Places places;
    places.executableFolder = QCoreApplication::applicationDirPath();
    places.dataFromExecutable = QStringLiteral(TINTARO_DATA_FROM_EXECUTABLE);
    places.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    places.bookOption = bookOption;
    return places;
}

// Adding pages, the help and the version open no window, so they must also
// work from a terminal with no desktop: that is known before the application
// connects to a display.
bool needsNoWindow(int argc, char** argv)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        for (const char* option : {"--add", "--help", "-h", "--help-all", "--version", "-v"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Qt ends the process when no platform can be opened (no desktop, or DISPLAY
// naming no server); before the application exists, that is said in one
// clear line and the program ends with status 1 instead of aborting.
void noDesktopHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return;
    }
    std::fprintf(stderr,
                 "Tintaro: necesito un escritorio gráfico para abrir el libro y no "
                 "encuentro ninguno (%s). Pruébalo desde el escritorio; sin él "
                 "funcionan tintaro --add ARCHIVO… y tintaro --help.\n",
                 message.section(u'\n', 0, 0).toLocal8Bit().constData());
    std::_Exit(1);
}

int addPages(const CommandLine& line)
{
    try {
        const AppFolders folders = AppFolders::resolve(startPlaces(line.parser.value(line.book)));
        return AddCommand::run(line.parser.positionalArguments(), folders.book(),
                               line.manualZoom());
    } catch (const Failure& failure) {
        std::fprintf(stderr, "Tintaro: %s (%s)\n", failure.reason().toUtf8().constData(),
                     failure.file().toUtf8().constData());
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Adding pages from a terminal with no desktop makes them for an assumed screen.
    if (needsNoWindow(argc, argv) && !hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QtMessageHandler qtHandler = qInstallMessageHandler(noDesktopHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    QApplication::setApplicationName(QStringLiteral("Tintaro"));
    QApplication::setApplicationVersion(QStringLiteral(TINTARO_VERSION));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TINTARO_APP_ID));
    const CommandLine line(app);
    if (line.parser.isSet(line.add))
        return addPages(line);
    ScreenZoom::apply(line.manualZoom());
    FailureBoundary::run([&line] {
        const AppFolders folders = AppFolders::resolve(startPlaces(line.parser.value(line.book)));
        // The program starts on the intro window; its "CONTINUAR" opens the
        // main window. Closing it first leaves no window, and exec returns 0.
        auto* form2 = new Form2(folders);
        form2->setAttribute(Qt::WA_DeleteOnClose);
        form2->Form_Load();
        form2->show();
    });
    return app.exec();
}
