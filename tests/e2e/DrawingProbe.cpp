#include "e2e/DrawingProbe.h"

#include <QVector>
#include <algorithm>

namespace {

constexpr QRgb kWhite = 0xffffffffu;

// Marks the 4-connected area of `seed`'s colour with `label`; returns its
// pixels and whether it touches the picture's edge.
QVector<QPoint> collect(const QImage& picture, QPoint seed, QVector<int>& labels, int label,
                        bool* touchesEdge)
{
    const int width = picture.width();
    const int height = picture.height();
    const QRgb target = picture.pixel(seed) | 0xff000000u;
    QVector<QPoint> area;
    QVector<QPoint> stack{seed};
    labels[seed.y() * width + seed.x()] = label;
    *touchesEdge = false;
    while (!stack.isEmpty()) {
        const QPoint p = stack.takeLast();
        area.append(p);
        if (p.x() == 0 || p.y() == 0 || p.x() == width - 1 || p.y() == height - 1)
            *touchesEdge = true;
        const QPoint next[] = {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1),
                               p - QPoint(0, 1)};
        for (const QPoint& n : next) {
            if (n.x() < 0 || n.y() < 0 || n.x() >= width || n.y() >= height)
                continue;
            int& mark = labels[n.y() * width + n.x()];
            if (mark != 0 || (picture.pixel(n) | 0xff000000u) != target)
                continue;
            mark = label;
            stack.append(n);
        }
    }
    return area;
}

} // namespace

QList<DrawingProbe::Area> DrawingProbe::enclosedWhiteAreas(const QImage& source)
{
    const QImage picture = source.convertToFormat(QImage::Format_RGB32);
    const int width = picture.width();
    const int height = picture.height();
    QVector<int> labels(width * height, 0);
    QList<Area> areas;
    int label = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (labels[y * width + x] != 0 || (picture.pixel(x, y) | 0xff000000u) != kWhite)
                continue;
            bool touchesEdge = false;
            const QVector<QPoint> pixels =
                collect(picture, QPoint(x, y), labels, ++label, &touchesEdge);
            if (touchesEdge)
                continue;
            // An inside point near the middle row of the area, with room
            // round it, so a press cannot land on the outline.
            int top = height, bottom = 0;
            for (const QPoint& p : pixels) {
                top = std::min(top, p.y());
                bottom = std::max(bottom, p.y());
            }
            const int middle = (top + bottom) / 2;
            auto inArea = [&](int px, int py) {
                return px >= 0 && py >= 0 && px < width && py < height &&
                       labels[py * width + px] == label;
            };
            auto roomy = [&](const QPoint& p) {
                for (int dy = -3; dy <= 3; ++dy)
                    for (int dx = -3; dx <= 3; ++dx)
                        if (!inArea(p.x() + dx, p.y() + dy))
                            return false;
                return true;
            };
            Area area;
            area.size = static_cast<int>(pixels.size());
            int bestDistance = height + 1;
            for (const QPoint& p : pixels) {
                const int distance = std::abs(p.y() - middle);
                if (distance < bestDistance && roomy(p)) {
                    bestDistance = distance;
                    area.inside = p;
                }
            }
            if (bestDistance <= height)
                areas.append(area);
        }
    }
    std::sort(areas.begin(), areas.end(),
              [](const Area& a, const Area& b) { return a.size > b.size; });
    return areas;
}

QImage DrawingProbe::filled(const QImage& source, QPoint seed, QRgb colour)
{
    QImage picture = source.convertToFormat(QImage::Format_RGB32);
    QVector<int> labels(picture.width() * picture.height(), 0);
    bool touchesEdge = false;
    for (const QPoint& p : collect(picture, seed, labels, 1, &touchesEdge))
        picture.setPixel(p, colour | 0xff000000u);
    return picture;
}
