#pragma once

#include <cstdint>

// Positions are kept in twips and converted to pixels only here.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr double kTwipsPerInch = 1440.0;
// Picture sizes come in hundredths of a millimetre (HIMETRIC).
inline constexpr double kHimetricPerInch = 2540.0;

// Whole numbers from fractions: the nearest, halves to the even neighbour.
// NaN gives 0 and values beyond the 64-bit range the nearest end of it, so
// no conversion is ever undefined.
std::int64_t roundHalfEven(double value);

// Floor towards minus infinity, for the few places that drop the half;
// clamped like roundHalfEven.
std::int64_t floorToInt(double value);

// Pixel position or size of a twip value, rounded halves-to-even. Wide, so a
// huge picture cannot wrap round before a widget's geometry takes it.
std::int64_t twipsToPixels(double twips);

// The zoom the windows are shown at, decided once before any window exists:
// `zoom` device pixels show one pixel of the composition, and the desktop
// already shows each widget pixel with `desktopScale` device pixels, so the
// widgets take zoom / desktopScale and the two are never multiplied.
void setDisplayZoom(double zoom, double desktopScale);
double displayZoom();
double desktopScale();
// Widget pixels per composition pixel: displayZoom() / desktopScale().
double widgetZoom();

// A twip value as a widget coordinate at the display zoom, rounded halves to
// even and clamped to int (at zoom 1, twipsToPixels).
int widgetPixels(double twips);
// A widget extent in twips: the screen as seen at the display zoom.
double widgetPixelsToTwips(double pixels);

double pixelsToTwips(double pixels);

// A HIMETRIC extent in pixels at the given resolution, halves to even.
std::int64_t himetricToPixels(double himetric, double dotsPerInch);
