#include "app/AddCommand.h"
#include "app/BookOwner.h"
#include "app/PrintCommand.h"
#include "app/QuitOnSignals.h"
#include "app/ScreenZoom.h"
#include "app/SystemDesktop.h"
#include "core/book/Failure.h"
#include "core/folders/AppFolders.h"
#include "core/geometry/Zoom.h"
#include "core/settings/Settings.h"
#include "import/DrawingFile.h"
#include "ui/FailureBoundary.h"
#include "ui/IntroWindow.h"
#include "ui/SettingsWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <tuple>

namespace {

// The command line: `--book DIR` names the book to use instead of the usual
// one; `--add [FILE…]` adds drawings to it and `--print N…` prints pages of
// it, both ending without opening it; `--ajustes` opens the grown-ups'
// settings instead of the book, and `--candado` locks the book for one run.
struct CommandLine {
    QCommandLineParser parser;
    // Qt's own help option describes itself in English whatever the language.
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Muestra esta ayuda y termina.")};
    QCommandLineOption book{
        QStringLiteral("book"),
        QStringLiteral("Usa como libro la carpeta DIR, que guarda los dibujos en «dibujos»."),
        QStringLiteral("DIR")};
    QCommandLineOption add{QStringLiteral("add"),
                           QStringLiteral("Añade cada ARCHIVO (%1) como dibujo nuevo con el "
                                          "primer número libre: llena antes los huecos que haya "
                                          "en la numeración y luego sigue al final del libro; "
                                          "nunca reemplaza un dibujo. Después termina; sin "
                                          "archivos, pregunta cuáles.")
                               .arg(DrawingFile::readableKinds())};
    QCommandLineOption photo{QStringLiteral("foto"),
                             QStringLiteral("Con --add, hace de cada archivo una página como de "
                                            "una fotografía, con zonas por sus colores.")};
    QCommandLineOption drawing{QStringLiteral("dibujo"),
                               QStringLiteral("Con --add, limpia cada archivo como un dibujo, "
                                              "aunque parezca una fotografía.")};
    QCommandLineOption print{QStringLiteral("print"),
                             QStringLiteral("Imprime las páginas N… del libro, una por hoja, tal "
                                            "como están (coloreadas o no), y termina.")};
    QCommandLineOption blank{QStringLiteral("blank"),
                             QStringLiteral("Con --print, imprime los dibujos sin colorear, para "
                                            "colorearlos a mano.")};
    QCommandLineOption printer{
        QStringLiteral("printer"),
        QStringLiteral("Con --print, usa la impresora NOMBRE en vez de la predeterminada."),
        QStringLiteral("NOMBRE")};
    QCommandLineOption zoom{
        QStringLiteral("zoom"),
        QStringLiteral("Muestra las ventanas F veces más grandes que en una pantalla de "
                       "1024 × 768 (de 1 a 16; 1 es el tamaño original). Sin esta opción "
                       "crecen con la pantalla."),
        QStringLiteral("F")};
    QCommandLineOption settings{QStringLiteral("ajustes"),
                                QStringLiteral("Abre los ajustes para los mayores: guardar los "
                                               "dibujos coloreados, el candado para niños y los "
                                               "sonidos.")};
    QCommandLineOption lock{QStringLiteral("candado"),
                            QStringLiteral("Pone el candado para niños solo esta vez: la puerta "
                                           "cierra Tintaro si se mantiene pulsada dos segundos, "
                                           "la ventana no se cierra de otro modo, y Ctrl+P, "
                                           "Ctrl+S y Ctrl+O no hacen nada.")};

    explicit CommandLine(const QCoreApplication& app)
    {
        parser.addOption(help);
        parser.addVersionOption();
        parser.addOption(book);
        parser.addOption(add);
        parser.addOptions({photo, drawing});
        parser.addOptions({print, blank, printer});
        parser.addOption(zoom);
        parser.addOptions({settings, lock});
        parser.addPositionalArgument(QStringLiteral("ARCHIVO"),
                                     QStringLiteral("Un dibujo para --add, o un número de "
                                                    "página para --print."),
                                     QStringLiteral("[ARCHIVO…|N…]"));
        refuseNegativePages(app.arguments());
        if (!parser.parse(app.arguments()))
            usageError(parser.errorText());
        if (parser.isSet(help))
            parser.showHelp(0);
        if (parser.isSet(QStringLiteral("version")))
            parser.showVersion();
        refuseStrays();
    }

    // A mistake in the words typed: said in one line, status 2.
    [[noreturn]] static void usageError(const QString& line)
    {
        printError(line);
        std::exit(2);
    }

    // `--print -1` would read as an unknown option "-1".
    static void refuseNegativePages(const QStringList& arguments)
    {
        for (const QString& argument : arguments.mid(1)) {
            if (argument == QLatin1String("--"))
                return;
            if (argument.size() > 1 && argument.startsWith(QLatin1Char('-')) &&
                argument.mid(1).toInt() != 0 && arguments.contains(QStringLiteral("--print")))
                usageError(pagesFromOne(argument));
        }
    }

    static QString pagesFromOne(const QString& text)
    {
        return QStringLiteral("«%1» no es una página: las páginas se numeran desde 1.").arg(text);
    }

    // Options that only mean something beside another, and words no option takes.
    void refuseStrays() const
    {
        const bool adding = parser.isSet(add);
        const bool printing = parser.isSet(print);
        for (const auto& [option, needed, isSet] :
             {std::tuple{&blank, "--print", printing}, std::tuple{&printer, "--print", printing},
              std::tuple{&photo, "--add", adding}, std::tuple{&drawing, "--add", adding}})
            if (parser.isSet(*option) && !isSet)
                usageError(QStringLiteral("--%1 solo vale junto a %2.")
                               .arg(option->names().constFirst(), QLatin1String(needed)));
        const QStringList words = parser.positionalArguments();
        if (printing) {
            for (const QString& word : words) {
                bool number = false;
                if (word.toInt(&number) < 1)
                    usageError(number
                                   ? pagesFromOne(word)
                                   : QStringLiteral("«%1» no es un número de página.").arg(word));
            }
        } else if (!adding && !words.isEmpty()) {
            usageError(QStringLiteral("no sé qué hacer con «%1». Para añadirlo al libro: "
                                      "tintaro --add %1")
                           .arg(words.constFirst()));
        }
    }

    // How --add takes the files: --foto and --dibujo exclude each other.
    PageCleaner::Treatment treatment() const
    {
        if (parser.isSet(photo) && parser.isSet(drawing)) {
            printError(QStringLiteral("--foto y --dibujo no van juntas: elige una."));
            std::exit(2);
        }
        if (parser.isSet(photo))
            return PageCleaner::Treatment::Photo;
        return parser.isSet(drawing) ? PageCleaner::Treatment::Drawing
                                     : PageCleaner::Treatment::ByLook;
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
        printError(
            QStringLiteral("--zoom espera un número de 1 a 16, no «%1».").arg(parser.value(zoom)));
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

// Adding or printing pages, the help and the version open no window, so they must also
// work from a terminal with no desktop: that is known before the application
// connects to a display.
bool needsNoWindow(int argc, char** argv)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        for (const char* option : {"--add", "--print", "--help", "-h", "--version", "-v"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

// Qt ends the process when no platform can be opened (no desktop, or DISPLAY
// naming no server). While the application is made, that is said in one clear
// line instead of Qt's abort, and Qt's own warnings about it are left out.
void noDesktopHandler(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtFatalMsg)
        return;
    const QString display = qEnvironmentVariable("DISPLAY");
    printError(QStringLiteral("necesito un escritorio gráfico y no encuentro ninguno (%1). "
                              "Ábrelo desde el escritorio; sin él funcionan «tintaro --add "
                              "ARCHIVO…» y «tintaro --help».")
                   .arg(display.isEmpty() ? QStringLiteral("no hay DISPLAY")
                                          : QStringLiteral("DISPLAY=") + display));
    std::_Exit(1);
}

// Qt's own texts (the file dialog, the buttons of message boxes, --help) in
// the program's language, whatever the desktop's is.
void speakSpanish(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_es"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

// Runs a terminal front end on the book; a failure is one line and status 1.
template <typename Command> int onBook(const CommandLine& line, Command command)
{
    try {
        const AppFolders folders = AppFolders::resolve(startPlaces(line.parser.value(line.book)));
        return command(folders.book());
    } catch (const Failure& failure) {
        printError(QStringLiteral("%1 (%2)").arg(failure.reason(), failure.file()));
        return 1;
    }
}

// The settings are a window of their own, not the book: they take no part in
// keeping one program per book.
int openSettings(const CommandLine& line, const WindowState& state, QApplication& app)
{
    FailureBoundary::run([&line, &state] {
        SettingsWindow::open(AppFolders::resolve(startPlaces(line.parser.value(line.book))).book(),
                             state);
    });
    return app.exec();
}

// The book on screen, one program to a book.
int openBook(const CommandLine& line, WindowState state, QApplication& app)
{
    if (line.parser.isSet(line.lock))
        state.settings.lockForThisRun();
    BookOwner owner;
    std::optional<int> laterStart;
    FailureBoundary::run([&line, &state, &owner, &laterStart] {
        const AppFolders folders = AppFolders::resolve(startPlaces(line.parser.value(line.book)));
        // Before anything is deleted or shown: a book already open is brought forward.
        laterStart = owner.claim(folders.book());
        if (laterStart)
            return;
        // The program starts on the intro window; its "CONTINUAR" opens the
        // main window. Closing it first leaves no window, and exec returns 0.
        auto* intro = new IntroWindow(folders, state);
        intro->setAttribute(Qt::WA_DeleteOnClose);
        intro->startUp();
        intro->show();
    });
    if (laterStart)
        return *laterStart;
    QuitOnSignals::install(&app);
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    SystemDesktop::useStartingTerminal();
    // Adding pages from a terminal with no desktop makes them for an assumed screen.
    if (needsNoWindow(argc, argv) && !SystemDesktop::available())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QtMessageHandler qtHandler = qInstallMessageHandler(noDesktopHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    QApplication::setApplicationName(QStringLiteral("Tintaro"));
    QApplication::setApplicationVersion(QStringLiteral(TINTARO_VERSION));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TINTARO_APP_ID));
    speakSpanish(app);
    const CommandLine line(app);
    if (line.parser.isSet(line.add))
        return onBook(line, [&line](const QString& book) {
            return AddCommand::run(line.parser.positionalArguments(), book, line.manualZoom(),
                                   line.treatment());
        });
    if (line.parser.isSet(line.print))
        return onBook(line, [&line](const QString& book) {
            return PrintCommand::run({line.parser.positionalArguments(),
                                      line.parser.isSet(line.blank),
                                      line.parser.value(line.printer)},
                                     book);
        });
    const WindowState state{ScreenZoom::decide(line.manualZoom()), Settings::load()};
    if (line.parser.isSet(line.settings))
        return openSettings(line, state, app);
    return openBook(line, state, app);
}
