#include "core/book/Failure.h"
#include "import/DecoderMessages.h"
#include "import/PageCleaner.h"
#include "import/PageSize.h"
#include "import/SvgFrame.h"
#include "import/VectorDrawing.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace {

class SvgDrawing : public VectorDrawing {
public:
    SvgDrawing(const QString& path, QSize largestPage) : m_svg(path)
    {
        if (!m_svg.isValid() || m_svg.defaultSize().isEmpty())
            throw Failure(path, QStringLiteral("El SVG está dañado o no tiene tamaño."));
        QFile file(path);
        // A compressed SVG keeps the reader's own reckoning of its size.
        const SvgFrame frame =
            file.open(QIODevice::ReadOnly) ? SvgFrame::read(file.readAll()) : SvgFrame();
        m_shown = frame.shown().isEmpty() ? m_svg.viewBoxF() : frame.shown();
        const QSizeF shape = frame.shape().isEmpty() ? QSizeF(m_svg.defaultSize()) : frame.shape();
        m_page = PageSize::fit(shape, largestPage, false);
        m_svg.setViewBox(m_shown);
    }

    int pageCount() const override { return 1; }

    QImage page(int) override
    {
        // The view box keeps its shape, centred, as SVG asks by default.
        const QSizeF fitted = m_shown.size().scaled(QSizeF(m_page), Qt::KeepAspectRatio);
        const QRectF bounds(
            QPointF((m_page.width() - fitted.width()) / 2, (m_page.height() - fitted.height()) / 2),
            fitted);
        // Drawn on white at the page size: thin lines keep their antialiased
        // grey, which the clean-up then puts on the right side.
        QImage image(m_page, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        m_svg.render(&painter, bounds);
        painter.end();
        return PageCleaner::pictureAtSize(image, m_page);
    }

private:
    QSvgRenderer m_svg;
    QRectF m_shown; // the part of the SVG's plane to draw
    QSize m_page;
};

} // namespace

bool VectorDrawing::readsSvg()
{
    return true;
}

std::unique_ptr<VectorDrawing> VectorDrawing::openSvg(const QString& path, QSize largestPage)
{
    const DecoderMessages messages; // its complaints are the refusal's business
    return std::make_unique<SvgDrawing>(path, largestPage);
}
