#include "app/AddCommand.h"

#include "app/ScreenZoom.h"
#include "core/book/Failure.h"
#include "core/geometry/Zoom.h"
#include "import/DrawingFile.h"
#include "import/PageImporter.h"
#include "import/PageSize.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace {

QString dialogFilter()
{
    QStringList patterns;
    for (const QString& pattern : DrawingFile::readablePatterns())
        patterns << pattern << pattern.toUpper();
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
        m_refused << line;
    }
    void addedPage(const QImage& picture, int page) override
    {
        // The line just printed for it, with its size and areas, as its tip.
        m_pages.append(
            {picture.scaled(kThumbnail, kThumbnail, Qt::KeepAspectRatio, Qt::SmoothTransformation),
             page, m_lines.last()});
    }
    void showBox(bool allAdded, const QString& summary) const
    {
        if (m_pages.isEmpty()) {
            QMessageBox box(allAdded ? QMessageBox::Information : QMessageBox::Warning,
                            QStringLiteral("Tintaro"), summary, QMessageBox::Ok);
            box.setInformativeText(m_refused.join(u'\n'));
            box.setDetailedText(m_lines.join(u'\n'));
            box.exec();
            return;
        }
        QDialog window;
        window.setWindowTitle(QStringLiteral("Tintaro"));
        auto* layout = new QVBoxLayout(&window);
        auto* text = new QLabel(QStringList{summary, m_refused.join(u'\n')}.join(u'\n').trimmed());
        text->setWordWrap(true);
        layout->addWidget(text);
        layout->addWidget(pagesShown());
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
        layout->addWidget(buttons);
        window.exec();
    }

private:
    static constexpr int kThumbnail = 220;
    static constexpr int kColumns = 4;

    struct Page {
        QImage picture;
        int number = 0;
        QString line;
    };

    // Each new page as the child will get it, under its number.
    QScrollArea* pagesShown() const
    {
        auto* grid = new QWidget;
        auto* layout = new QGridLayout(grid);
        for (int i = 0; i < m_pages.size(); ++i) {
            auto* picture = new QLabel;
            picture->setPixmap(QPixmap::fromImage(m_pages[i].picture));
            picture->setFrameShape(QFrame::Box);
            picture->setToolTip(m_pages[i].line);
            auto* caption = new QLabel(QStringLiteral("Página %1").arg(m_pages[i].number));
            caption->setAlignment(Qt::AlignHCenter);
            layout->addWidget(picture, 2 * (i / kColumns), i % kColumns, Qt::AlignCenter);
            layout->addWidget(caption, 2 * (i / kColumns) + 1, i % kColumns);
        }
        auto* scroll = new QScrollArea;
        scroll->setWidget(grid);
        scroll->setMinimumSize(std::min(int(m_pages.size()), kColumns) * (kThumbnail + 16) + 24,
                               std::min(kThumbnail * 2 + 80, grid->sizeHint().height() + 8));
        return scroll;
    }

    QStringList m_lines;
    QStringList m_refused;
    QList<Page> m_pages;
};

// Started from the file dialog, there is no terminal to watch: a window shows
// which file and sheet is being added, once it takes more than a moment, and
// lets it be stopped between pages.
class ProgressListener : public TerminalListener {
public:
    explicit ProgressListener(int files)
        : m_window(QString(), QStringLiteral("Parar"), 0, files * kStepsPerFile)
    {
        m_window.setWindowTitle(QStringLiteral("Añadiendo dibujos"));
        m_window.setWindowModality(Qt::ApplicationModal);
        m_window.setMinimumDuration(500);
        m_window.setAutoClose(false);
        m_window.setAutoReset(false);
    }
    bool carryOn(const PageImporter::Step& step) override
    {
        m_window.setLabelText(QStringLiteral("Añadiendo %1 (dibujo %2 de %3)")
                                  .arg(step.name)
                                  .arg(step.file)
                                  .arg(step.files));
        // A modal progress window handles its events, the stop button among them.
        m_window.setValue((step.file - 1) * kStepsPerFile +
                          (step.sheet - 1) * kStepsPerFile / step.sheets);
        return !m_window.wasCanceled();
    }
    void finish() { m_window.close(); }

private:
    static constexpr int kStepsPerFile = 1000;
    QProgressDialog m_window;
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
        files = QFileDialog::getOpenFileNames(nullptr, QStringLiteral("Añadir dibujos al libro"),
                                              QDir::homePath(), dialogFilter());
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
    listener.showBox(allAdded, importer.summary());
    return allAdded ? 0 : 1;
}
