#pragma once

#include <QRectF>

// Where the undo button stands, in twips: below the animation, left edges
// aligned, as a rule; but never where the page would hide it. A wide page
// pushes the animation off the window, so the button then goes into the
// bottom band, which the canvas never reaches: left of the page buttons, or
// else right of the exit button.
struct UndoButtonPlacement {
    // The room between the animation and the button below it.
    static constexpr double kGap = 120;
    // The room between the button and a band control beside it.
    static constexpr double kBandGap = 25;

    struct Around {
        QSizeF window;
        QRectF canvas;
        QRectF mascot;
        QRectF back;
        QRectF door;
    };

    // The button's rectangle. When no place is free of the page (a window
    // far too small for its controls), the place below the animation,
    // pulled inside the window; the button is then drawn over the page.
    static QRectF place(const Around& around, QSizeF button);
};
