#include "app/AddCommand.h"

#include "app/ScreenZoom.h"
#include "core/book/Failure.h"
#include "core/geometry/Zoom.h"
#include "import/DrawingFile.h"
#include "import/PageImporter.h"
#include "import/PageSize.h"

#include "ui/AddProgressWindow.h"
#include "ui/AddedPagesWindow.h"
#include "ui/DrawingChooser.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

// Prints each line as it happens, and keeps them for the window that shows
// what came of it.
class TerminalListener : public PageImporter::Listener {
public:
    void added(const QString& line) override
    {
        std::fprintf(stdout, "%s\n", line.toUtf8().constData());
        std::fflush(stdout);
        m_outcome.lines << line;
    }
    void refused(const QString& line) override
    {
        printError(line);
        m_outcome.lines << line;
        m_outcome.refused << line;
    }
    void addedPage(const QImage& picture, int page) override
    {
        constexpr int side = AddedPagesWindow::kThumbnail;
        m_outcome.pages.append(
            {picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation), page,
             m_outcome.lines.last()});
    }
    AddedPagesWindow::Outcome outcome(bool allAdded, const QString& summary) const
    {
        AddedPagesWindow::Outcome outcome = m_outcome;
        outcome.allAdded = allAdded;
        outcome.summary = summary;
        return outcome;
    }

private:
    AddedPagesWindow::Outcome m_outcome;
};

class ProgressListener : public TerminalListener {
public:
    explicit ProgressListener(int files) : m_window(files) {}
    bool carryOn(const PageImporter::Step& step) override
    {
        return m_window.carryOn(step.name, step.file, step.sheet, step.sheets);
    }
    void finish() { m_window.finish(); }

private:
    AddProgressWindow m_window;
};

} // namespace

int AddCommand::run(QStringList files, const QString& book, double manualZoom,
                    PageCleaner::Treatment treatment)
{
    const bool display = QGuiApplication::platformName() != QLatin1String("offscreen");
    const bool askForFiles = files.isEmpty();
    if (askForFiles) {
        if (!display) {
            printError(QStringLiteral("sin pantalla no puedo preguntar qué dibujos añadir; "
                                      "escríbelos detrás de --add."));
            return 2;
        }
        files = DrawingChooser::ask(DrawingFile::readablePatterns());
        if (files.isEmpty())
            return 0;
    }
    // Made for the screen as seen at the zoom, so that the page fills the
    // canvas area the way it does on a 1024 × 768 screen.
    const QSize device = ScreenZoom::deviceScreen(PageSize::kHeadlessScreen);
    const Zoom zoom(ScreenZoom::choose(manualZoom, device));
    PageImporter importer(book, PageSize::largestShownWhole(zoom.screenAsSeen(device)), treatment);
    if (!askForFiles) {
        TerminalListener listener;
        return importer.addAll(files, listener) ? 0 : 1;
    }
    ProgressListener listener(int(files.size()));
    const bool allAdded = importer.addAll(files, listener);
    listener.finish();
    AddedPagesWindow::show(listener.outcome(allAdded, importer.summary()));
    return allAdded ? 0 : 1;
}
