#include "LineArt.h"

#include <vector>

namespace {

const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);

// Blackens one pixel of every 2 x 2 block whose white pixels touch only diagonally.
bool closeDiagonals(QImage& image)
{
    bool changed = false;
    for (int y = 0; y + 1 < image.height(); ++y) {
        for (int x = 0; x + 1 < image.width(); ++x) {
            const bool a = image.pixel(x, y) == white;
            const bool b = image.pixel(x + 1, y) == white;
            const bool c = image.pixel(x, y + 1) == white;
            const bool d = image.pixel(x + 1, y + 1) == white;
            if (a && d && !b && !c) {
                image.setPixel(x + 1, y + 1, black);
                changed = true;
            } else if (b && c && !a && !d) {
                image.setPixel(x, y + 1, black);
                changed = true;
            }
        }
    }
    return changed;
}

// Fills white 4-connected areas smaller than the limit with black.
bool fillSpecks(QImage& image, int limit)
{
    const int w = image.width();
    const int h = image.height();
    std::vector<char> seen(size_t(w * h), 0);
    std::vector<QPoint> area;
    std::vector<QPoint> stack;
    bool changed = false;
    for (int y0 = 0; y0 < h; ++y0) {
        for (int x0 = 0; x0 < w; ++x0) {
            if (seen[size_t(y0 * w + x0)] || image.pixel(x0, y0) != white) {
                continue;
            }
            area.clear();
            stack.assign(1, QPoint(x0, y0));
            seen[size_t(y0 * w + x0)] = 1;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                area.push_back(p);
                for (const QPoint& n :
                     {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)}) {
                    if (n.x() >= 0 && n.y() >= 0 && n.x() < w && n.y() < h &&
                        !seen[size_t(n.y() * w + n.x())] && image.pixel(n) == white) {
                        seen[size_t(n.y() * w + n.x())] = 1;
                        stack.push_back(n);
                    }
                }
            }
            if (int(area.size()) < limit) {
                for (const QPoint& p : area) {
                    image.setPixel(p, black);
                }
                changed = true;
            }
        }
    }
    return changed;
}

} // namespace

QImage LineArt::blankPage()
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(white);
    return image;
}

void LineArt::setUp(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
}

QImage LineArt::finish(const QImage& drawn)
{
    QImage image = drawn.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            line[x] = qGray(line[x]) >= 128 ? white : black;
        }
    }
    bool changed = true;
    while (changed) {
        changed = closeDiagonals(image);
        changed = fillSpecks(image, smallestArea) || changed;
    }
    return image;
}
