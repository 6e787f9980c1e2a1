#include "import/DrawingFile.h"

#include "book/Failure.h"
#include "book/PictureLoader.h"
#include "import/PageCleaner.h"
#include "import/PageSize.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfDocument>
#include <QSvgRenderer>
#include <functional>

namespace {

[[noreturn]] void refuse(const QString& path, const QString& reason)
{
    throw Failure(path, reason);
}

// Drawn on white at the page size: thin lines keep their antialiased grey,
// which the clean-up then puts on the right side.
QImage paintedOnWhite(QSize size, const std::function<void(QPainter&)>& draw)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return image;
}

} // namespace

DrawingFile::DrawingFile(QString path, QSize largestPage)
    : m_path(std::move(path)), m_largest(largestPage)
{
    const QFileInfo info(m_path);
    if (!info.exists())
        refuse(m_path, QStringLiteral("No encuentro el archivo."));
    if (!info.isFile())
        refuse(m_path, QStringLiteral("No es un archivo."));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(m_path, QStringLiteral("No puedo leer el archivo (%1).").arg(file.errorString()));
    const QByteArray head = file.read(1024);
    file.close();

    if (head.contains("%PDF-")) {
        m_pdf = std::make_unique<QPdfDocument>();
        if (m_pdf->load(m_path) != QPdfDocument::Error::None || m_pdf->pageCount() < 1)
            refuse(m_path, QStringLiteral("El PDF está dañado, protegido o no tiene páginas."));
        return;
    }
    const QByteArray format = QImageReader::imageFormat(m_path);
    if (format == "svg" || format == "svgz" ||
        info.suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        m_svg = std::make_unique<QSvgRenderer>(m_path);
        if (!m_svg->isValid() || m_svg->defaultSize().isEmpty())
            refuse(m_path, QStringLiteral("El SVG está dañado o no tiene tamaño."));
        return;
    }
    openPicture(format);
}

DrawingFile::~DrawingFile() = default;

void DrawingFile::openPicture(const QByteArray& format)
{
    if (format.isEmpty())
        refuse(m_path, QStringLiteral("No es un dibujo que sepa leer (PNG, JPEG, GIF, BMP, WebP, "
                                      "TIFF, SVG o PDF)."));
    QImageReader reader(m_path, format);
    reader.setAutoTransform(true); // a photographed page stands the right way up
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > PictureLoader::kMaxPixels)
        refuse(m_path, QStringLiteral("El dibujo es demasiado grande (%1 × %2 puntos).")
                           .arg(size.width())
                           .arg(size.height()));
    m_picture = reader.read();
    if (m_picture.isNull())
        refuse(m_path, QStringLiteral("El dibujo está dañado o incompleto."));
    if (qint64(m_picture.width()) * m_picture.height() > PictureLoader::kMaxPixels)
        refuse(m_path, QStringLiteral("El dibujo es demasiado grande."));
}

int DrawingFile::pageCount() const
{
    return m_pdf ? m_pdf->pageCount() : 1;
}

QImage DrawingFile::greyPage(int index)
{
    if (m_pdf) {
        const QSizeF points = m_pdf->pagePointSize(index);
        if (points.isEmpty())
            refuse(m_path, QStringLiteral("La página %1 del PDF no tiene tamaño.").arg(index + 1));
        const QSize size = PageSize::fit(points, m_largest, false);
        const QImage rendered = m_pdf->render(index, size);
        if (rendered.isNull())
            refuse(m_path, QStringLiteral("No puedo dibujar la página %1 del PDF.").arg(index + 1));
        return PageCleaner::pictureAtSize(rendered, size);
    }
    if (m_svg) {
        const QSize size = PageSize::fit(m_svg->defaultSize(), m_largest, false);
        return PageCleaner::pictureAtSize(
            paintedOnWhite(size, [this](QPainter& painter) { m_svg->render(&painter); }), size);
    }
    return PageCleaner::pictureAtSize(m_picture, PageSize::fit(m_picture.size(), m_largest, true));
}
