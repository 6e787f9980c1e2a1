#pragma once

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

// The plainly right fill the fast one is checked against, by the tests and
// the fuzzer: breadth first, one pixel at a time, 4-connected, comparing the
// 24 colour bits of each pixel. False when nothing is painted: the seed
// outside the picture, or already of the fill's colour.
inline bool referenceFill(std::vector<std::uint32_t>& pixels, int width, int height, int x, int y,
                          std::uint32_t fill)
{
    constexpr std::uint32_t kColourBits = 0x00FFFFFFu;
    if (x < 0 || y < 0 || x >= width || y >= height)
        return false;
    const auto at = [&](int px, int py) -> std::uint32_t& {
        return pixels[static_cast<std::size_t>(py * width + px)];
    };
    const std::uint32_t target = at(x, y) & kColourBits;
    if (target == (fill & kColourBits))
        return false;
    std::deque<std::pair<int, int>> queue{{x, y}};
    at(x, y) = fill;
    while (!queue.empty()) {
        const auto [px, py] = queue.front();
        queue.pop_front();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = px + dx, ny = py + dy;
            if (nx < 0 || ny < 0 || nx >= width || ny >= height)
                continue;
            std::uint32_t& p = at(nx, ny);
            if ((p & kColourBits) == target) {
                p = fill;
                queue.emplace_back(nx, ny);
            }
        }
    }
    return true;
}
