#pragma once

#include <QSize>

// The size an added page is made at.
class PageSize {
public:
    // The screen assumed when no display can be asked (adding pages from a
    // terminal without a desktop): the most common laptop screen, so a page
    // made this way is shown whole on most screens the book will meet.
    static constexpr QSize kHeadlessScreen{1366, 768};

    // The largest picture the main window shows whole above the colour bar
    // on a screen of that size, whichever way the page is reached.
    static QSize largestShownWhole(QSize screen);

    // `source` scaled to fit `largest`, keeping its proportions; a raster
    // source is never enlarged beyond twice its size, since that only blurs
    // its lines. Never smaller than one point each way.
    static QSize fit(QSizeF source, QSize largest, bool isRaster);
};
