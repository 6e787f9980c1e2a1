#pragma once

#include <QImage>
#include <QSize>

// Makes a page the exact fill colours whole: pure black lines on pure white,
// with no grey fringe, no specks and no small breaks in the outlines.
class PageCleaner {
public:
    // Breaks in a line up to this wide, in points of the finished page, are
    // closed so that colour cannot leak through them.
    static constexpr int kDefaultGap = 3;

    struct Result {
        QImage page;         // Format_Grayscale8 holding only 0 (line) and 255 (paper)
        int closedAreas = 0; // white areas that touch no edge of the page
    };

    // Puts transparent parts over white, turns the picture grey and scales it
    // to `size`: the clean-up then works at the size the child sees.
    static QImage greyAtSize(const QImage& picture, QSize size);

    // Cleans a Format_Grayscale8 picture already at page size.
    static Result clean(const QImage& grey, int gap = kDefaultGap);
};
