#pragma once

#include <QRect>
#include <QSize>

// How many device pixels show one pixel of the composition as it looks on a
// 1024 × 768 screen. Whole-pixel blocks with edges at floor(pixel × zoom):
// every device pixel shows exactly one composition pixel, so a press maps
// back to the pixel it lands on.
class Zoom {
public:
    static constexpr int kBaseWidth = 1024;
    static constexpr int kBaseHeight = 768;
    static constexpr double kLargest = 16.0;

    // min(W / 1024, H / 768) of the screen's device pixels, never below 1.
    static double forScreen(QSize devicePixels);

    explicit Zoom(double factor = 1.0) : m_factor(factor) {}
    double factor() const { return m_factor; }

    // The first device pixel of composition pixel `pixel`.
    int edge(int pixel) const;
    // The composition pixel that device pixel `device` shows.
    int pixelAt(int device) const;
    // The device pixels that show a rectangle of composition pixels.
    QRect toDevice(const QRect& pixels) const;
    // The screen as seen at the zoom, in composition pixels.
    QSize screenAsSeen(QSize devicePixels) const;

private:
    double m_factor = 1.0;
};
