#pragma once

#include "core/geometry/UndoButtonPlacement.h"

#include <QRectF>
#include <QSizeF>

// The main window's controls as stored, in twips: the window's normal client
// area and each control's first place and size. The layout moves them for the
// screen; their sizes stay. The window, the layout, the import's page size
// and the tests all read them here.
struct StoredControls {
    static constexpr QRectF window{60, 60, 9480, 7080};
    static constexpr QRectF forwardButton{2160, 5040, 855, 1000};
    static constexpr QRectF backButton{1200, 5040, 855, 1000};
    static constexpr QRectF mascot{0, 3240, 1350, 1365};
    static constexpr QRectF eraserButton{8640, 5040, 855, 1005};
    static constexpr QRectF colourBar{3960, 4440, 5430, 525};
    static constexpr QRectF doorButton{7440, 5040, 855, 1005};
    static constexpr QRectF canvas{720, 840, 5445, 3405};
    static constexpr QRectF undoButton{0, 3240 + 1365 + UndoButtonPlacement::kGap, 855, 1000};
    // Placed below the undo button, or wherever the page leaves room.
    static constexpr QSizeF galleryButton{855, 1000};
    // Swatch i stands at 960 + 600 i; the layout gives every swatch its height.
    static constexpr QSizeF swatch{495, 375};
};
