#include "app/AddCommand.h"

#include "app/ScreenZoom.h"
#include "geometry/Zoom.h"
#include "book/Failure.h"
#include "import/PageImporter.h"
#include "import/PageSize.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <cstdio>

namespace {

QString dialogFilter()
{
    QStringList patterns;
    for (const char* suffix :
         {"png", "jpg", "jpeg", "gif", "bmp", "webp", "tif", "tiff", "svg", "svgz", "pdf"}) {
        const QString lower = QString::fromLatin1(suffix);
        patterns << QStringLiteral("*.") + lower << QStringLiteral("*.") + lower.toUpper();
    }
    return QStringLiteral("Dibujos (%1);;Todos los archivos (*)").arg(patterns.join(u' '));
}

// Prints each line as it happens, and keeps them for a message box.
class TerminalListener : public PageImporter::Listener {
public:
    void added(const QString& line) override
    {
        std::fprintf(stdout, "%s\n", line.toUtf8().constData());
        std::fflush(stdout);
        m_lines << line;
    }
    void refused(const QString& line) override
    {
        printError(line);
        m_lines << line;
    }
    void showBox(bool allAdded) const
    {
        QMessageBox box(allAdded ? QMessageBox::Information : QMessageBox::Warning,
                        QStringLiteral("Tintaro"), m_lines.join(u'\n'), QMessageBox::Ok);
        box.exec();
    }

private:
    QStringList m_lines;
};

} // namespace

int AddCommand::run(QStringList files, const QString& book, double manualZoom)
{
    const bool display = QGuiApplication::platformName() != QLatin1String("offscreen");
    const bool askForFiles = files.isEmpty();
    if (askForFiles) {
        if (!display) {
            printError(QStringLiteral("sin pantalla no puedo preguntar qué dibujos añadir; "
                                      "escríbelos detrás de --add."));
            return 2;
        }
        files = QFileDialog::getOpenFileNames(nullptr, QStringLiteral("Añadir dibujos al libro"),
                                              QDir::homePath(), dialogFilter());
        if (files.isEmpty())
            return 0;
    }
    // Made for the screen as seen at the zoom, so that the page fills the
    // canvas area the way it does on a 1024 × 768 screen.
    const QSize device = ScreenZoom::deviceScreen(PageSize::kHeadlessScreen);
    const Zoom zoom(ScreenZoom::choose(manualZoom, device));
    PageImporter importer(book, PageSize::largestShownWhole(zoom.screenAsSeen(device)));
    TerminalListener listener;
    const bool allAdded = importer.addAll(files, listener);
    if (askForFiles)
        listener.showBox(allAdded);
    return allAdded ? 0 : 1;
}
