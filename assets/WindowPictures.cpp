#include "WindowPictures.h"

#include "BmpWriter.h"

#include "OutputFile.h"
#include "gif/GifWriter.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace {

constexpr double pi = 3.14159265358979323846;

const QColor outline(0, 0, 0);
const QColor midGrey(128, 128, 128);
const QColor lightGrey(192, 192, 192);

// Whether texture point (u, v) lies on an arrow pointing towards negative u.
// u is a longitude in radians, v runs from -1 (top) to 1 (bottom).
bool onLeftArrow(double u, double v)
{
    constexpr double tip = -1.2;
    constexpr double headBase = -0.3;
    constexpr double tail = 1.05;
    if (u >= tip && u <= headBase) {
        return std::abs(v) <= 0.62 * (u - tip) / (headBase - tip);
    }
    return u > headBase && u <= tail && std::abs(v) <= 0.24;
}

// A shade level from 0 (dark) to levels - 1 (lit).
int level(double shade, int levels)
{
    return std::clamp(int(shade * levels), 0, levels - 1);
}

QImage ballFrame(bool left, double phase)
{
    constexpr int width = 74;
    constexpr int height = 67;
    constexpr double cx = 37.0;
    constexpr double cy = 33.5;
    constexpr double radius = 30.5;
    constexpr int levels = 12;
    // Light from the upper left, in front.
    const double lx = -0.45, ly = -0.55, lz = 0.70;

    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x + 0.5 - cx) / radius;
            const double dy = (y + 0.5 - cy) / radius;
            const double r2 = dx * dx + dy * dy;
            if (r2 > 1.0) {
                image.setPixel(x, y, qRgb(0, 0, 0));
                continue;
            }
            const double dz = std::sqrt(1.0 - r2);
            const double lambert = std::max(0.0, dx * lx + dy * ly + dz * lz);
            const double shade = 0.18 + 0.82 * lambert;
            // Mirror reflection of the light towards the viewer for the gloss spot.
            const double rz = 2.0 * lambert * dz - lz;
            const double gloss = std::pow(std::max(0.0, rz), 40.0);

            // Spin about the vertical axis: the surface moves the arrow's way.
            const double lon = std::atan2(dx, dz);
            const double lat = std::asin(std::clamp(dy, -1.0, 1.0)) / (pi / 2);
            double u = (left ? lon : -lon) + phase;
            u = std::remainder(u, 2 * pi);
            const int l = level(shade, levels);
            QRgb colour;
            if (onLeftArrow(u, lat)) {
                const int grey = 150 + 105 * l / (levels - 1);
                colour = qRgb(grey, grey, grey);
            } else {
                colour = qRgb(70 + 185 * l / (levels - 1), 10 * l / (levels - 1), 0);
            }
            if (gloss > 0.55) {
                colour = qRgb(255, 235, 235);
            } else if (gloss > 0.2) {
                colour = qRgb(255, 160, 150);
            }
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

QPainter& aliased(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    return p;
}

} // namespace

QList<QImage> WindowPictures::ballFrames(bool arrowPointsLeft)
{
    QList<QImage> frames;
    for (int k = 0; k < ballFrameCount; ++k) {
        frames.append(ballFrame(arrowPointsLeft, 2 * pi * k / ballFrameCount));
    }
    return frames;
}

QImage WindowPictures::eraser()
{
    QImage image(59, 80, QImage::Format_RGB32);
    image.fill(QColor(0, 255, 128));
    QPainter p(&image);
    aliased(p);
    const QColor paleYellow(255, 255, 128);
    p.setPen(QPen(outline, 1));
    p.setBrush(QColor(0, 200, 100));
    // Its shadow on the ground.
    p.drawPolygon(QPolygon({QPoint(10, 74), QPoint(42, 74), QPoint(56, 60), QPoint(56, 72),
                            QPoint(46, 78), QPoint(12, 78)}));
    p.setBrush(paleYellow);
    const QPoint frontTopLeft(5, 22), frontTopRight(38, 22), frontBottomRight(38, 73),
        frontBottomLeft(5, 73), backTopLeft(20, 6), backTopRight(53, 6), backBottomRight(53, 57);
    p.setPen(QPen(outline, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolygon(QPolygon({frontTopLeft, backTopLeft, backTopRight, frontTopRight}));
    p.drawPolygon(QPolygon({frontTopRight, backTopRight, backBottomRight, frontBottomRight}));
    p.drawPolygon(QPolygon({frontTopLeft, frontTopRight, frontBottomRight, frontBottomLeft}));
    // A worn, rounded corner where it has been rubbing.
    p.setPen(QPen(outline, 1));
    p.drawLine(8, 66, 13, 71);
    p.drawLine(9, 62, 17, 70);
    return image;
}

QImage WindowPictures::door()
{
    QImage image(55, 66, QImage::Format_RGB32);
    QPainter p(&image);
    aliased(p);
    const QColor orange(255, 128, 64);
    const QColor magenta(255, 0, 255);
    const QColor blue(0, 128, 255);
    p.setPen(QPen(outline, 1));
    p.setBrush(orange);
    p.drawRect(0, 0, 54, 65);
    p.setBrush(magenta);
    p.drawRect(6, 6, 42, 59);
    p.setBrush(Qt::NoBrush);
    // Two sunken panels on the door leaf.
    p.drawRect(12, 11, 30, 20);
    p.drawRect(12, 37, 30, 22);
    p.setBrush(blue);
    p.drawEllipse(QRect(38, 31, 7, 7));
    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.drawPoint(40, 33);
    return image;
}

QImage WindowPictures::colourBar()
{
    static const std::array<std::array<QRgb, 2>, 22> fields = {{
        {qRgb(0, 0, 0), qRgb(255, 255, 255)},      {qRgb(128, 128, 128), qRgb(192, 192, 192)},
        {qRgb(128, 0, 0), qRgb(255, 0, 0)},        {qRgb(128, 128, 0), qRgb(255, 255, 0)},
        {qRgb(0, 128, 0), qRgb(0, 255, 0)},        {qRgb(0, 128, 128), qRgb(0, 255, 255)},
        {qRgb(0, 0, 128), qRgb(0, 0, 255)},        {qRgb(128, 0, 128), qRgb(255, 0, 255)},
        {qRgb(128, 128, 64), qRgb(255, 255, 128)}, {qRgb(0, 64, 64), qRgb(0, 255, 128)},
        {qRgb(0, 128, 255), qRgb(128, 255, 255)},  {qRgb(0, 64, 128), qRgb(128, 128, 255)},
        {qRgb(64, 0, 255), qRgb(255, 0, 128)},     {qRgb(128, 64, 0), qRgb(255, 128, 64)},
        {qRgb(0, 0, 0), qRgb(255, 255, 255)},      {qRgb(128, 128, 128), qRgb(192, 192, 192)},
        {qRgb(128, 0, 0), qRgb(255, 0, 0)},        {qRgb(153, 51, 0), qRgb(204, 153, 102)},
        {qRgb(0, 128, 0), qRgb(0, 255, 0)},        {qRgb(0, 128, 128), qRgb(204, 51, 204)},
        {qRgb(0, 0, 128), qRgb(51, 102, 51)},      {qRgb(128, 0, 128), qRgb(255, 0, 255)},
    }};
    QImage image(360, 33, QImage::Format_RGB32);
    image.fill(midGrey);
    for (int x = 0; x < image.width(); ++x) {
        image.setPixel(x, 0, lightGrey.rgb());
    }
    for (int y = 0; y < image.height(); ++y) {
        image.setPixel(2, y, lightGrey.rgb());
    }
    for (int k = 0; k < 22; ++k) {
        for (int r = 0; r < 2; ++r) {
            const int left = 5 + 16 * k;
            const int top = 2 + 16 * r;
            // Sunken look: the light lower and right edges are laid last and run the full
            // side, so only the top-left corner pixel stays black.
            for (int i = 0; i < 14; ++i) {
                image.setPixel(left + i, top, outline.rgb());
                image.setPixel(left, top + i, outline.rgb());
            }
            for (int i = 0; i < 14; ++i) {
                image.setPixel(left + i, top + 13, lightGrey.rgb());
                image.setPixel(left + 13, top + i, lightGrey.rgb());
            }
            for (int y = top + 1; y <= top + 12; ++y) {
                for (int x = left + 1; x <= left + 12; ++x) {
                    image.setPixel(x, y, fields[size_t(k)][size_t(r)]);
                }
            }
        }
    }
    // The divider between the two blocks replaces the right edge of column 13; the top
    // line runs through.
    for (int y = 1; y < image.height(); ++y) {
        image.setPixel(226, y, midGrey.rgb());
    }
    return image;
}

QImage WindowPictures::undo(bool active)
{
    QImage image(52, 58, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(26, 29);
    QRadialGradient face(QPointF(19, 21), 30);
    face.setColorAt(0.0, QColor(200, 255, 170));
    face.setColorAt(0.5, QColor(40, 215, 70));
    face.setColorAt(1.0, QColor(0, 130, 40));
    p.setPen(QPen(outline, 1.5));
    p.setBrush(face);
    p.drawEllipse(centre, 24, 24);

    // An arc over the top from right to left, its head pointing down: back.
    const QRectF arc(centre.x() - 12, centre.y() - 10, 24, 24);
    const QPolygonF head({QPointF(6, 29), QPointF(22, 29), QPointF(14, 40)});
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 90, 30), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(arc, -20 * 16, 200 * 16);
    p.setPen(QPen(QColor(0, 90, 30), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(arc, -20 * 16, 190 * 16);
    p.end();
    if (active) {
        return image;
    }
    // Greyed: the same picture without colour and lifted towards white.
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 255 - (255 - qGray(row[x])) * 2 / 5;
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]));
        }
    }
    return image;
}

QImage WindowPictures::gallery()
{
    // A round orange button holding four little pages, each with a coloured
    // shape on it: every page of the book at once.
    QImage image(52, 58, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient face(QPointF(19, 21), 30);
    face.setColorAt(0.0, QColor(255, 235, 160));
    face.setColorAt(0.5, QColor(255, 160, 30));
    face.setColorAt(1.0, QColor(200, 90, 0));
    p.setPen(QPen(outline, 1.5));
    p.setBrush(face);
    p.drawEllipse(QPointF(26, 29), 24, 24);
    const std::array<QColor, 4> shapes{QColor(230, 30, 30), QColor(30, 110, 230),
                                       QColor(40, 170, 60), QColor(250, 210, 0)};
    for (int k = 0; k < 4; ++k) {
        const QRectF page(12 + 15 * (k % 2), 17 + 13 * (k / 2), 13, 11);
        p.setPen(QPen(QColor(90, 40, 0), 1));
        p.setBrush(Qt::white);
        p.drawRect(page);
        p.setPen(Qt::NoPen);
        p.setBrush(shapes[size_t(k)]);
        p.drawEllipse(page.center(), 3.2, 3.2);
    }
    return image;
}

void WindowPictures::writeAll(const QString& dir)
{
    for (bool left : {true, false}) {
        GifWriter gif(64);
        const QList<QImage> frames = ballFrames(left);
        for (int k = 0; k < frames.size(); ++k) {
            gif.addFrame(frames[k], k == 0 ? 300 : 10);
        }
        OutputFile::write(dir + (left ? "/forward.gif" : "/backward.gif"), gif.encode());
    }
    BmpWriter::writeIndexed8(dir + "/eraser.bmp", eraser());
    BmpWriter::writeRgb24(dir + "/door.bmp", door());
    BmpWriter::writeIndexed8(dir + "/colourbar.bmp", colourBar());
    const auto writePng = [&dir](const QImage& picture, const QString& name) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!picture.save(&buffer, "PNG")) {
            throw std::runtime_error("cannot encode " + name.toStdString());
        }
        OutputFile::write(dir + name, png);
    };
    writePng(undo(true), "/undo.png");
    writePng(undo(false), "/undo-off.png");
    writePng(gallery(), "/gallery.png");
}
