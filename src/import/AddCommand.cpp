#include "import/AddCommand.h"

#include "book/Failure.h"
#include "import/DrawingFile.h"
#include "import/GifPageWriter.h"
#include "import/PageAdder.h"
#include "import/PageCleaner.h"
#include "import/PageSize.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <cstdio>
#include <new>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

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

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Collects what happened, for the terminal and, after a dialog, a message box.
class Outcome {
public:
    void added(const QString& line)
    {
        std::fprintf(stdout, "%s\n", line.toUtf8().constData());
        std::fflush(stdout);
        m_lines << line;
    }
    void refused(const QString& line)
    {
        std::fprintf(stderr, "Tintaro: %s\n", line.toUtf8().constData());
        m_lines << line;
        m_failed = true;
    }
    int finish(bool showBox) const
    {
        if (showBox) {
            QMessageBox box(m_failed ? QMessageBox::Warning : QMessageBox::Information,
                            QStringLiteral("Tintaro"), m_lines.join(u'\n'), QMessageBox::Ok);
            box.exec();
        }
        return m_failed ? 1 : 0;
    }

private:
    QStringList m_lines;
    bool m_failed = false;
};

QString refusal(const Failure& failure)
{
    return QStringLiteral("No he añadido %1: %2").arg(shown(failure.file()), failure.reason());
}

} // namespace

void AddCommand::prepareDisplay()
{
    if (!hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int AddCommand::run(QStringList files, const QString& book)
{
    const bool display = QGuiApplication::platformName() != QLatin1String("offscreen");
    const bool askForFiles = files.isEmpty();
    if (askForFiles) {
        if (!display) {
            std::fprintf(stderr, "Tintaro: sin pantalla no puedo preguntar qué dibujos añadir; "
                                 "escríbelos detrás de --add.\n");
            return 2;
        }
        files = QFileDialog::getOpenFileNames(nullptr, QStringLiteral("Añadir dibujos al libro"),
                                              QDir::homePath(), dialogFilter());
        if (files.isEmpty())
            return 0;
    }

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize =
        display && screen ? screen->geometry().size() : PageSize::kHeadlessScreen;
    const QSize largest = PageSize::largestShownWhole(screenSize);
    PageAdder adder(book);
    Outcome outcome;

    for (const QString& path : files) {
        try {
            DrawingFile drawing(path, largest);
            const int sheets = drawing.pageCount();
            for (int sheet = 0; sheet < sheets; ++sheet) {
                const QString name = sheets == 1 ? shown(path)
                                                 : QStringLiteral("%1 (hoja %2 de %3)")
                                                       .arg(shown(path))
                                                       .arg(sheet + 1)
                                                       .arg(sheets);
                const PageCleaner::Result clean = PageCleaner::clean(drawing.greyPage(sheet));
                if (clean.closedAreas == 0) {
                    outcome.refused(QStringLiteral("No he añadido %1: no tiene ninguna zona "
                                                   "cerrada para colorear.")
                                        .arg(name));
                    continue;
                }
                int page = 0;
                try {
                    page = adder.add(GifPageWriter::encode(clean.page));
                } catch (const Failure& failure) {
                    // The book itself cannot take more: nothing after this would fit either.
                    outcome.refused(
                        QStringLiteral("%1 (%2)").arg(failure.reason(), shown(failure.file())));
                    return outcome.finish(askForFiles);
                }
                const QString areas =
                    clean.closedAreas == 1
                        ? QStringLiteral("1 zona cerrada")
                        : QStringLiteral("%1 zonas cerradas").arg(clean.closedAreas);
                outcome.added(QStringLiteral("%1: página %2, %3 × %4 puntos, %5")
                                  .arg(name)
                                  .arg(page)
                                  .arg(clean.page.width())
                                  .arg(clean.page.height())
                                  .arg(areas));
            }
        } catch (const Failure& failure) {
            outcome.refused(refusal(failure));
        } catch (const std::bad_alloc&) {
            outcome.refused(
                QStringLiteral("No he añadido %1: no hay memoria para un dibujo tan grande.")
                    .arg(shown(path)));
        } catch (const std::exception& error) {
            outcome.refused(QStringLiteral("No he añadido %1: error inesperado (%2).")
                                .arg(shown(path), QString::fromLocal8Bit(error.what())));
        }
    }
    return outcome.finish(askForFiles);
}
