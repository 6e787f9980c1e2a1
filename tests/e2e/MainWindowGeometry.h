#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

// Where the main window's controls stand on the 1024 × 768 screen, in screen
// pixels: the core's layout and placements for that screen, turned into
// pixels the way the window does it (twips / 15, halves to even).
class MainWindowGeometry {
public:
    static constexpr double kTwipsPerPixel = 15.0;
    static constexpr double kScreenWidthTwips = 1024 * kTwipsPerPixel;
    static constexpr double kScreenHeightTwips = 768 * kTwipsPerPixel;

    static int toPixels(double twips);
    static QRect fromTwips(const QRectF& twips);

    static QRect swatch(int index);
    static QRect eraser();
    static QRect door();
    static QRect back();
    static QRect forward();
    static QRect colourBar();
    // The canvas showing a picture of that size, as start-up places it.
    static QRect canvas(QSize picture);
    // The undo button, below the animation beside that canvas.
    static QRect undo(QSize picture);
    // The pages' view button, below that undo button.
    static QRect gallery(QSize picture);

    // The centre of the colour field in column 0–21 and row 0–1 of the bar.
    static QPoint colourField(int column, int row);
    // The screen pixel showing pixel `inPicture` of the canvas's picture.
    static QPoint canvasPixel(QSize picture, QPoint inPicture);
};
