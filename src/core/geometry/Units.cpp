#include "geometry/Units.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

namespace {

// The largest double below 2^63 and the smallest at or above -2^63: every
// double in between converts to int64 exactly.
constexpr double kWideMax = 9223372036854774784.0;
constexpr double kWideMin = -9223372036854775808.0;

std::int64_t toWide(double whole)
{
    if (std::isnan(whole))
        return 0;
    return static_cast<std::int64_t>(std::clamp(whole, kWideMin, kWideMax));
}

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

std::int64_t roundHalfEven(double value)
{
    // std::nearbyint honours the current rounding mode; pin it so a library
    // that changed the mode cannot change our results.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return toWide(r);
}

std::int64_t floorToInt(double value)
{
    return toWide(std::floor(value));
}

std::int64_t twipsToPixels(double twips)
{
    return roundHalfEven(twips / kTwipsPerPixel);
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

std::int64_t himetricToPixels(double himetric, double dotsPerInch)
{
    return roundHalfEven(himetric * dotsPerInch / kHimetricPerInch);
}
