#include "core/geometry/Tiling.h"

#include "core/geometry/Units.h"

#include <algorithm>
#include <cstdint>

namespace {
int twipsOf(int pixels, double dpi)
{
    const std::int64_t himetric = roundHalfEven(pixels * kHimetricPerInch / dpi);
    return static_cast<int>(
        roundHalfEven(static_cast<double>(himetric) * kTwipsPerInch / kHimetricPerInch));
}
} // namespace

QSize Tiling::tileSizeInTwips(QSize pixels, double dotsPerInch)
{
    return {twipsOf(pixels.width(), dotsPerInch), twipsOf(pixels.height(), dotsPerInch)};
}

void Tiling::forEachTile(QSize tile, double innerWidth, double innerHeight,
                         const std::function<void(int x, int y)>& draw)
{
    // The window is measured once per repaint; a resize asks for a new one.
    const std::int64_t bottom = roundHalfEven(innerHeight);
    const std::int64_t right = roundHalfEven(innerWidth);
    const std::int64_t stepX = std::max(1, tile.width());
    const std::int64_t stepY = std::max(1, tile.height());
    for (std::int64_t y = 0; y <= bottom; y += stepY)
        for (std::int64_t x = 0; x <= right; x += stepX)
            draw(static_cast<int>(x), static_cast<int>(y));
}
