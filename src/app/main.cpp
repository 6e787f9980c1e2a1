#include "app/AppFolders.h"
#include "ui/FailureBoundary.h"
#include "ui/Form2.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>

namespace {

// The command line: `--book DIR` names the book to use instead of the usual one.
AppFolders::Places startPlaces(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption book(
        QStringLiteral("book"),
        QStringLiteral("Usa como libro la carpeta DIR, que guarda los dibujos en «dibujos»."),
        QStringLiteral("DIR"));
    parser.addOption(book);
    parser.process(app);

    AppFolders::Places places;
    places.executableFolder = QCoreApplication::applicationDirPath();
    places.dataFromExecutable = QStringLiteral(TINTARO_DATA_FROM_EXECUTABLE);
    places.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    places.bookOption = parser.value(book);
    return places;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintaro"));
    QApplication::setApplicationVersion(QStringLiteral(TINTARO_VERSION));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TINTARO_APP_ID));
    FailureBoundary::run([&app] {
        const AppFolders folders = AppFolders::resolve(startPlaces(app));
        // The program starts on the intro window; its "CONTINUAR" opens the
        // main window. Closing it first leaves no window, and exec returns 0.
        auto* form2 = new Form2(folders);
        form2->setAttribute(Qt::WA_DeleteOnClose);
        form2->Form_Load();
        form2->show();
    });
    return app.exec();
}
