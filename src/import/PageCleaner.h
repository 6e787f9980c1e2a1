#pragma once

#include <QImage>
#include <QList>
#include <QSize>

// Makes a page the exact fill colours whole: pure black lines on pure white,
// with no grey fringe, no specks and no small breaks in the outlines. Areas
// of colour in the picture become white areas with an outline.
class PageCleaner {
public:
    // Breaks in a line up to this wide, in points of the finished page, are
    // closed so that colour cannot leak through them.
    static constexpr int kDefaultGap = 3;

    struct Result {
        QImage page;           // Format_Grayscale8 holding only 0 (line) and 255 (paper)
        int closedAreas = 0;   // white areas, except paper reaching all four edges
        QList<int> areaPoints; // the points of every white area, largest first
        bool photo = false;    // made as from a photograph
    };

    // Puts transparent parts over white and scales the picture to `size` as
    // Format_RGB888: the clean-up then works at the size the child sees.
    static QImage pictureAtSize(const QImage& picture, QSize size);

    // How a picture is made a page: told by its look, or forced.
    enum class Treatment { ByLook, Photo, Drawing };

    // Cleans a picture already at page size, in colour or grey. A
    // photograph's parts become the areas.
    static Result clean(const QImage& picture, Treatment treatment = Treatment::ByLook,
                        int gap = kDefaultGap);
};
