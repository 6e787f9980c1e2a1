#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The pages' view laid out for a window, in widget pixels: a band across the
// top for the way back, then every page of the book in a grid of equal cells,
// left to right and top to bottom, scrolled up and down. Cells are big targets
// for a finger and grow with the zoom; as many columns as fit, widened to fill
// the width.
class GalleryGrid {
public:
    // At zoom 1: the narrowest cell, the room around cells, the band's height.
    static constexpr int kMinCellWidth = 200;
    static constexpr int kGap = 20;
    static constexpr int kBandHeight = 96;
    // Pictures the cache holds: those of three screens (one above, the one on show,
    // one below), so scrolling back and forth a little makes none again, and
    // never fewer than a handful of screens on a small window.
    static constexpr int kCachedScreens = 3;
    static constexpr int kMinCached = 48;

    struct PageRange {
        int first = 1;
        int last = 0; // below first: none
    };

    GalleryGrid() = default;
    GalleryGrid(QSize window, int pageCount, double zoom);

    int columns() const { return m_columns; }
    int rows() const;
    QSize cellSize() const { return m_cell; }
    int gap() const { return m_gap; }
    int bandHeight() const { return m_band; }
    // The scrolled part of the window, below the band.
    QSize viewport() const { return m_viewport; }
    int contentHeight() const;
    int maxScroll() const;

    // A page's cell in the scrolled content.
    QRect cell(int page) const;
    // The pages any part of which shows when the content is scrolled by `scroll`.
    PageRange visible(int scroll) const;
    // The page whose cell holds a point of the content; 0 between cells.
    int pageAt(QPoint content) const;
    // A scroll that shows the page's whole row: none when it shows at the top.
    int scrollShowing(int page) const;
    // How many made pictures the cache holds.
    int cachedPictures() const;

private:
    int pitchX() const { return m_cell.width() + m_gap; }
    int pitchY() const { return m_cell.height() + m_gap; }

    int m_pageCount = 0;
    int m_columns = 1;
    int m_gap = kGap;
    int m_band = kBandHeight;
    QSize m_cell{kMinCellWidth, kMinCellWidth * 2 / 3};
    QSize m_viewport;
};
