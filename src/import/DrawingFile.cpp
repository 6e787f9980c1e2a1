#include "import/DrawingFile.h"

#include "core/book/Failure.h"
#include "core/book/PictureLoader.h"
#include "core/book/SystemReason.h"
#include "import/DecoderMessages.h"
#include "import/PageCleaner.h"
#include "import/PageSize.h"
#include "import/VectorDrawing.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cerrno>

namespace {

[[noreturn]] void refuse(const QString& path, const QString& reason)
{
    throw Failure(path, reason);
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
        m_vector = VectorDrawing::openPdf(m_path, m_largest);
        return;
    }
    const QByteArray format = QImageReader::imageFormat(m_path);
    const QString suffix = info.suffix().toLower();
    if (format == "svg" || format == "svgz" || suffix == QLatin1String("svg") ||
        suffix == QLatin1String("svgz")) {
        m_vector = VectorDrawing::openSvg(m_path, m_largest);
        return;
    }
    openPicture(format);
}

DrawingFile::~DrawingFile() = default;

void DrawingFile::openPicture(const QByteArray& format)
{
    if (format.isEmpty())
        refuse(m_path, QStringLiteral("No es un dibujo que sepa leer (%1).").arg(readableKinds()));
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
    return m_vector ? m_vector->pageCount() : 1;
}

QImage DrawingFile::page(int index)
{
    if (m_vector)
        return m_vector->page(index);
    return PageCleaner::pictureAtSize(m_picture, m_pictureSize);
}

namespace {

struct Kind {
    const char* name;     // as a person knows it
    const char* format;   // as Qt's image readers name it
    const char* patterns; // the names its files have
};

// Every kind Tintaro can read, in the order it names them; a build reads
// those whose reader it has.
QList<Kind> readableKindList()
{
    QList<Kind> kinds;
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    for (const Kind& kind :
         {Kind{"PNG", "png", "*.png"}, Kind{"JPEG", "jpeg", "*.jpg *.jpeg"},
          Kind{"GIF", "gif", "*.gif"}, Kind{"BMP", "bmp", "*.bmp"}, Kind{"WebP", "webp", "*.webp"},
          Kind{"TIFF", "tiff", "*.tif *.tiff"}}) {
        if (formats.contains(kind.format))
            kinds << kind;
    }
    if (VectorDrawing::readsSvg())
        kinds << Kind{"SVG", "svg", "*.svg *.svgz"};
    if (VectorDrawing::readsPdf())
        kinds << Kind{"PDF", "pdf", "*.pdf"};
    return kinds;
}

} // namespace

QString DrawingFile::readableKinds()
{
    QStringList names;
    for (const Kind& kind : readableKindList())
        names << QString::fromLatin1(kind.name);
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" o ") + last;
}

QStringList DrawingFile::readablePatterns()
{
    QStringList patterns;
    for (const Kind& kind : readableKindList())
        patterns << QString::fromLatin1(kind.patterns).split(QLatin1Char(' '));
    return patterns;
}
