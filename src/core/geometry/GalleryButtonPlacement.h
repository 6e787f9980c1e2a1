#pragma once

#include "core/geometry/UndoButtonPlacement.h"

#include <QRectF>

// Where the pages' view button stands, in twips: below the undo button, left
// edges aligned, as a rule; where the page or the window's edge leaves no room
// there, beside it, and else in the bottom band, on the far side of the undo
// button when that stands there too. Never over the page where a place is
// free; else below the undo button, pulled inside the window.
struct GalleryButtonPlacement {
    static QRectF place(const UndoButtonPlacement::Around& around, const QRectF& undo,
                        QSizeF button);
};
