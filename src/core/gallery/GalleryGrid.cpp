#include "core/gallery/GalleryGrid.h"

#include <algorithm>
#include <cmath>

namespace {

int scaled(int pixels, double zoom)
{
    return std::max(1, static_cast<int>(std::lround(pixels * zoom)));
}

// Floor division, right for the negative numerators of the top rows.
int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

GalleryGrid::GalleryGrid(QSize window, int pageCount, double zoom)
    : m_pageCount(std::max(0, pageCount)), m_gap(scaled(kGap, zoom)),
      m_band(scaled(kBandHeight, zoom))
{
    m_viewport = QSize(std::max(0, window.width()), std::max(0, window.height() - m_band));
    const int minCell = scaled(kMinCellWidth, zoom);
    m_columns = std::max(1, (m_viewport.width() - m_gap) / (minCell + m_gap));
    const int width = std::max(minCell, (m_viewport.width() - m_gap) / m_columns - m_gap);
    // Pages are mostly wider than tall, as the screens they were made for.
    m_cell = QSize(width, width * 2 / 3);
}

int GalleryGrid::rows() const
{
    return (m_pageCount + m_columns - 1) / m_columns;
}

int GalleryGrid::contentHeight() const
{
    return m_gap + rows() * pitchY();
}

int GalleryGrid::maxScroll() const
{
    return std::max(0, contentHeight() - m_viewport.height());
}

QRect GalleryGrid::cell(int page) const
{
    const int index = page - 1;
    const int row = index / m_columns;
    const int column = index % m_columns;
    return {QPoint(m_gap + column * pitchX(), m_gap + row * pitchY()), m_cell};
}

GalleryGrid::PageRange GalleryGrid::visible(int scroll) const
{
    // Row r spans gap + r·pitch to that plus the cell's height.
    const int firstRow = std::max(0, floorDiv(scroll - m_gap - m_cell.height(), pitchY()) + 1);
    const int lastRow = floorDiv(scroll + m_viewport.height() - m_gap - 1, pitchY());
    return {firstRow * m_columns + 1, std::min(m_pageCount, (lastRow + 1) * m_columns)};
}

int GalleryGrid::pageAt(QPoint content) const
{
    const int x = content.x() - m_gap;
    const int y = content.y() - m_gap;
    if (x < 0 || y < 0 || x % pitchX() >= m_cell.width() || y % pitchY() >= m_cell.height())
        return 0;
    const int column = x / pitchX();
    const int page = (y / pitchY()) * m_columns + column + 1;
    return column < m_columns && page <= m_pageCount ? page : 0;
}

int GalleryGrid::scrollShowing(int page) const
{
    const QRect at = cell(page);
    if (at.bottom() + m_gap < m_viewport.height())
        return 0;
    return std::clamp(at.top() - m_gap, 0, maxScroll());
}

int GalleryGrid::cachedPictures() const
{
    const int rowsOnScreen = (m_viewport.height() + pitchY() - 1) / pitchY() + 1;
    return std::max(kMinCached, kCachedScreens * rowsOnScreen * m_columns);
}
