#include "SavePattern.h"

namespace {

QRgb marker(int page, int generation)
{
    // 16 bits of generation in red and green, 8 bits of page in blue.
    return qRgb((generation >> 8) & 0xFF, generation & 0xFF, page & 0xFF);
}

} // namespace

QImage SavePattern::make(int page, int generation)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            row[x] = qRgb((x * 7 + page * 13 + generation) & 0xFF, (y * 5 + generation * 3) & 0xFF,
                          (x ^ y ^ page) & 0xFF);
        }
    }
    image.setPixel(0, 0, marker(page, generation));
    return image;
}

int SavePattern::generationOf(const QImage& image)
{
    if (image.isNull())
        return -1;
    const QRgb pixel = image.pixel(0, 0);
    return (qRed(pixel) << 8) | qGreen(pixel);
}
