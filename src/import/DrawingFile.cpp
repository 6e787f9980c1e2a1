#include "import/DrawingFile.h"

#include "core/book/Failure.h"
#include "core/book/PictureLoader.h"
#include "core/book/SystemReason.h"
#include "import/DecoderMessages.h"
#include "import/PageCleaner.h"
#include "import/PageSize.h"
#include "import/SvgFrame.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfDocument>
#include <QSvgRenderer>
#include <cerrno>
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

// Lets one picture of up to the largest size through Qt's allocation limit,
// for as long as it is read.
class AllocationLimit {
public:
    explicit AllocationLimit(int megabytes) : m_before(QImageReader::allocationLimit())
    {
        QImageReader::setAllocationLimit(std::max(m_before, megabytes));
    }
    ~AllocationLimit() { QImageReader::setAllocationLimit(m_before); }
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

private:
    int m_before;
};

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
        refuse(m_path, QStringLiteral("No puedo leer el archivo: %1.").arg(systemReason(errno)));
    const QByteArray head = file.read(1024);
    file.close();

    // Told by how the file starts, never by text it carries further in.
    if (head.startsWith("%PDF-")) {
        m_pdf = std::make_unique<QPdfDocument>();
        if (m_pdf->load(m_path) != QPdfDocument::Error::None || m_pdf->pageCount() < 1)
            refuse(m_path, QStringLiteral("El PDF está dañado, protegido o no tiene páginas."));
        return;
    }
    const QByteArray format = QImageReader::imageFormat(m_path);
    if (format == "svg" || format == "svgz" ||
        info.suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        openSvg();
        return;
    }
    openPicture(format);
}

DrawingFile::~DrawingFile() = default;

void DrawingFile::openSvg()
{
    const DecoderMessages messages; // its complaints are the refusal's business
    m_svg = std::make_unique<QSvgRenderer>(m_path);
    if (!m_svg->isValid() || m_svg->defaultSize().isEmpty())
        refuse(m_path, QStringLiteral("El SVG está dañado o no tiene tamaño."));
    QFile file(m_path);
    // A compressed SVG keeps the reader's own reckoning of its size.
    const SvgFrame frame =
        file.open(QIODevice::ReadOnly) ? SvgFrame::read(file.readAll()) : SvgFrame();
    m_svgShown = frame.shown().isEmpty() ? m_svg->viewBoxF() : frame.shown();
    const QSizeF shape = frame.shape().isEmpty() ? QSizeF(m_svg->defaultSize()) : frame.shape();
    m_svgPage = PageSize::fit(shape, m_largest, false);
    m_svg->setViewBox(m_svgShown);
}

void DrawingFile::openPicture(const QByteArray& format)
{
    if (format.isEmpty())
        refuse(m_path, QStringLiteral("No es un dibujo que sepa leer (PNG, JPEG, GIF, BMP, WebP, "
                                      "TIFF, SVG o PDF)."));
    DecoderMessages messages;
    QImageReader reader(m_path, format);
    reader.setAutoTransform(true); // a photographed page stands the right way up
    const QSize stored = reader.size();
    PictureLoader::checkSize(m_path, stored, kMaxPixels);
    if (stored.isValid()) {
        // The scaled size is the picture's before it is turned upright.
        const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        const QSize upright = turned ? stored.transposed() : stored;
        m_pictureSize = PageSize::fit(upright, m_largest, true);
        // Read at twice the page where the reader can shrink while decoding
        // (JPEG): the page then averages thin lines from enough points.
        const QSize twice = (turned ? m_pictureSize.transposed() : m_pictureSize) * 2;
        if (twice.width() < stored.width() && twice.height() < stored.height())
            reader.setScaledSize(stored.scaled(twice, Qt::KeepAspectRatio));
    }
    {
        const AllocationLimit limit(kMaxMegabytes);
        m_picture = reader.read();
    }
    if (m_picture.isNull())
        refuse(m_path, QStringLiteral("El dibujo está dañado o incompleto."));
    // Half a picture is no page: the rest would be blank paper.
    if (messages.damage())
        refuse(m_path, QStringLiteral("El dibujo está dañado o incompleto."));
    if (!stored.isValid()) {
        PictureLoader::checkSize(m_path, m_picture.size(), kMaxPixels);
        m_pictureSize = PageSize::fit(m_picture.size(), m_largest, true);
    }
}

int DrawingFile::pageCount() const
{
    return m_pdf ? m_pdf->pageCount() : 1;
}

QImage DrawingFile::page(int index)
{
    if (m_pdf) {
        const QSizeF points = m_pdf->pagePointSize(index);
        if (points.isEmpty())
            refuse(m_path, QStringLiteral("La hoja %1 del PDF no tiene tamaño.").arg(index + 1));
        const QSize size = PageSize::fit(points, m_largest, false);
        const QImage rendered = m_pdf->render(index, size);
        if (rendered.isNull())
            refuse(m_path, QStringLiteral("No puedo dibujar la hoja %1 del PDF.").arg(index + 1));
        return PageCleaner::pictureAtSize(rendered, size);
    }
    if (m_svg) {
        // The view box keeps its shape, centred, as SVG asks by default.
        const QSizeF fitted = m_svgShown.size().scaled(QSizeF(m_svgPage), Qt::KeepAspectRatio);
        const QRectF bounds(QPointF((m_svgPage.width() - fitted.width()) / 2,
                                    (m_svgPage.height() - fitted.height()) / 2),
                            fitted);
        return PageCleaner::pictureAtSize(
            paintedOnWhite(m_svgPage,
                           [this, bounds](QPainter& painter) { m_svg->render(&painter, bounds); }),
            m_svgPage);
    }
    return PageCleaner::pictureAtSize(m_picture, m_pictureSize);
}
