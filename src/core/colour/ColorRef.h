#pragma once

#include <QRgb>
#include <cstdint>

// A colour as the program stores it everywhere: 0x00BBGGRR, red in the low byte.
using ColorRef = std::uint32_t;

// The answer of a colour read that has no colour to give (outside a picture).
inline constexpr ColorRef kInvalidColour = 0xFFFFFFFFu;

constexpr ColorRef rgbColour(int red, int green, int blue)
{
    return static_cast<ColorRef>(red & 0xFF) | (static_cast<ColorRef>(green & 0xFF) << 8) |
           (static_cast<ColorRef>(blue & 0xFF) << 16);
}

constexpr int redOf(ColorRef c)
{
    return static_cast<int>(c & 0xFFu);
}
constexpr int greenOf(ColorRef c)
{
    return static_cast<int>((c >> 8) & 0xFFu);
}
constexpr int blueOf(ColorRef c)
{
    return static_cast<int>((c >> 16) & 0xFFu);
}

// Qt keeps pixels as 0xAARRGGBB; these convert at the boundary.
constexpr QRgb toQRgb(ColorRef c)
{
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}
constexpr ColorRef fromQRgb(QRgb p)
{
    return rgbColour(qRed(p), qGreen(p), qBlue(p));
}
