#include "core/geometry/Units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double g_zoom = 1.0;
double g_desktopScale = 1.0;

} // namespace

void setDisplayZoom(double zoom, double desktopScale)
{
    g_zoom = zoom;
    g_desktopScale = desktopScale;
}

double displayZoom()
{
    return g_zoom;
}

double desktopScale()
{
    return g_desktopScale;
}

double widgetZoom()
{
    return g_zoom / g_desktopScale;
}

int widgetPixels(double twips)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(roundHalfEven(twips * widgetZoom() / kTwipsPerPixel),
                                 std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

double widgetPixelsToTwips(double pixels)
{
    return pixels * kTwipsPerPixel / widgetZoom();
}

double pixelsToTwips(double pixels)
{
    return pixels * kTwipsPerPixel;
}
