#include "core/book/Failure.h"
#include "import/PageCleaner.h"
#include "import/PageSize.h"
#include "import/VectorDrawing.h"

#include <QPdfDocument>

namespace {

// One page a sheet.
class PdfDrawing : public VectorDrawing {
public:
    PdfDrawing(QString path, QSize largestPage) : m_path(std::move(path)), m_largest(largestPage)
    {
        if (m_pdf.load(m_path) != QPdfDocument::Error::None || m_pdf.pageCount() < 1)
            throw Failure(m_path,
                          QStringLiteral("El PDF está dañado, protegido o no tiene páginas."));
    }

    int pageCount() const override { return m_pdf.pageCount(); }

    QImage page(int index) override
    {
        const QSizeF points = m_pdf.pagePointSize(index);
        if (points.isEmpty())
            throw Failure(m_path,
                          QStringLiteral("La hoja %1 del PDF no tiene tamaño.").arg(index + 1));
        const QSize size = PageSize::fit(points, m_largest, false);
        const QImage rendered = m_pdf.render(index, size);
        if (rendered.isNull())
            throw Failure(m_path,
                          QStringLiteral("No puedo dibujar la hoja %1 del PDF.").arg(index + 1));
        return PageCleaner::pictureAtSize(rendered, size);
    }

private:
    QString m_path;
    QSize m_largest;
    QPdfDocument m_pdf;
};

} // namespace

bool VectorDrawing::readsPdf()
{
    return true;
}

std::unique_ptr<VectorDrawing> VectorDrawing::openPdf(const QString& path, QSize largestPage)
{
    return std::make_unique<PdfDrawing>(path, largestPage);
}
