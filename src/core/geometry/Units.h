#pragma once

#include "core/rounding/Rounding.h"

#include <cstdint>

// Positions are kept in twips and converted to pixels only here.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr double kTwipsPerInch = 1440.0;
// Picture sizes come in hundredths of a millimetre (HIMETRIC).
inline constexpr double kHimetricPerInch = 2540.0;

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
// even and clamped to int.
int widgetPixels(double twips);
// A widget extent in twips: the screen as seen at the display zoom.
double widgetPixelsToTwips(double pixels);

double pixelsToTwips(double pixels);
