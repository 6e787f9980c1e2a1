#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the main window's controls stand on the 1024 × 768 screen, in screen
// pixels. The numbers are the stored sizes placed by hand for that screen
// (15,360 × 11,520 twips), then turned into pixels at 15 twips a pixel,
// halves to even: written out here, so that a wrong layout in the program
// cannot also move what the tests expect.
class MainWindowGeometry {
public:
    static QRect swatch(int index);
    static QRect eraser();
    static QRect door();
    static QRect back();
    static QRect forward();
    static QRect colourBar();
    // The canvas showing a picture of that size, as start-up places it.
    static QRect canvas(QSize picture);
    // The undo button and the pages' view button beside a sample page
    // (640 × 480): below the animation, one under the other.
    static QRect undo();
    static QRect gallery();

    // The centre of the colour field in column 0–21 and row 0–1 of the bar.
    static QPoint colourField(int column, int row);
    // The screen pixel showing pixel `inPicture` of the canvas's picture.
    static QPoint canvasPixel(QSize picture, QPoint inPicture);
};
