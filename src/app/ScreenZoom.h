#pragma once

#include "core/geometry/DisplayZoom.h"

#include <QSize>

// The zoom both windows are shown at, decided once from the primary screen
// before any window exists.
//
// Qt's own high-DPI scale factor is not used for it: on X11 it must be set
// before the application object exists, when the screen's size is not yet
// known, and it would multiply with the desktop's own factor; at fractional
// factors its widgets also round their edges independently, so a page pixel
// could not be kept a whole block of device pixels. The windows therefore
// convert twips to pixels at the zoom themselves.
class ScreenZoom {
public:
    // The primary screen's size in device pixels; `headless` when no
    // display can be asked.
    static QSize deviceScreen(QSize headless);
    // The zoom asked for by hand when `manual` is positive, else the one the
    // screen calls for.
    static double choose(double manual, QSize deviceScreen);
    // The zoom the windows are shown at: the one asked for, or the screen's.
    static DisplayZoom decide(double manual);

private:
    static void refuseTooLarge(double manual, QSize device);
};
