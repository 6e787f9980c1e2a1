#include "core/geometry/CanvasPlacement.h"

#include "core/geometry/Units.h"

CanvasPlacement CanvasPlacement::place(double screenWidth, double colourBarTop, double canvasWidth,
                                       double canvasHeight, Pin pin)
{
    CanvasPlacement p;
    p.canvasLeft = (screenWidth - canvasWidth) / 2; // the half twip is kept
    const std::int64_t t = roundHalfEven((colourBarTop - canvasHeight) / 2);
    if (t < (pin == Pin::WithoutGap ? 1 : 2)) {
        p.canvasTop = 5;
        p.canvasHeight = colourBarTop - 25;
    } else {
        p.canvasTop = static_cast<double>(t);
        p.canvasHeight = canvasHeight;
    }
    p.mascotTop = p.canvasTop;
    p.mascotLeft = p.canvasLeft + canvasWidth + 100;
    return p;
}
