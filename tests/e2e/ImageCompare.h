#pragma once

#include <QImage>
#include <QString>

// Pixel comparisons for screenshots: colours compare without their alpha.
namespace ImageCompare {

bool sameColour(QRgb a, QRgb b);
QString rgbText(QRgb c);
// Empty when the pictures match; otherwise how many pixels differ and the first.
QString difference(const QImage& seen, const QImage& expected);

} // namespace ImageCompare
