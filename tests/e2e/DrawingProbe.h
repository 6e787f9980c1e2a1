#pragma once

#include <QImage>
#include <QList>
#include <QPoint>

// Looks at a line drawing the way a child would: which white areas it has
// and where to press inside them. Also the reference fill the program's
// colouring is checked against, written here without the program's code.
class DrawingProbe {
public:
    struct Area {
        QPoint inside; // a pixel well inside the area (its 7 × 7 square is in it)
        int size = 0;  // pixels in the area
    };

    // The white areas closed all round by the outline (not touching the
    // picture's edge), largest first; only areas with an inside point count.
    static QList<Area> enclosedWhiteAreas(const QImage& picture);

    // `picture` after a 4-connected fill, at `seed`, of the seed's exact
    // colour with `colour`.
    static QImage filled(const QImage& picture, QPoint seed, QRgb colour);
};
