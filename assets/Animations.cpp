#include "Animations.h"

#include "OutputFile.h"
#include "gif/GifWriter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;
const QColor black(0, 0, 0);
const QColor white(255, 255, 255);

void begin(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
}

// The looping handwriting: a prolate cycloid, one loop per letter.
QPointF writingPoint(double t)
{
    return {44.0 + 4.0 * t - 9.0 * std::sin(t), 88.0 - 12.0 * std::cos(t)};
}

void drawPencil(QPainter& p, QPointF tip, double wobble)
{
    p.save();
    p.translate(tip);
    p.rotate(-30 + wobble); // leaning up and to the right, as a right hand holds it
    p.scale(0.62, 0.62);
    const QPen pen(black, 1);
    p.setPen(pen);
    // Lengths along the pencil, from the tip upwards (negative y).
    p.setBrush(QColor(60, 60, 60));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(-3, -7), QPointF(3, -7)}));
    p.setBrush(QColor(240, 200, 140));
    p.drawPolygon(QPolygonF({QPointF(-3, -7), QPointF(-9, -20), QPointF(9, -20), QPointF(3, -7)}));
    p.setBrush(QColor(255, 210, 0));
    p.drawRect(QRectF(-9, -80, 18, 60));
    p.setBrush(QColor(255, 235, 90));
    p.drawRect(QRectF(-3, -80, 6, 60));
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(-9, -90, 18, 10));
    p.drawLine(QPointF(-9, -85), QPointF(9, -85));
    p.setBrush(QColor(255, 140, 170));
    p.drawRoundedRect(QRectF(-9, -102, 18, 13), 4, 4);
    // A happy face on the pencil.
    p.setBrush(white);
    p.drawEllipse(QRectF(-8, -63, 7, 9));
    p.drawEllipse(QRectF(1, -63, 7, 9));
    p.setBrush(black);
    p.drawEllipse(QRectF(-5, -59, 3, 4));
    p.drawEllipse(QRectF(4, -59, 3, 4));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(black, 2));
    p.drawArc(QRectF(-5, -54, 10, 8), 200 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 150, 120));
    p.drawEllipse(QRectF(-9, -51, 4, 3));
    p.drawEllipse(QRectF(5, -51, 4, 3));
    p.restore();
}

void drawMonster(QPainter& p, QPointF foot, double squash)
{
    const QColor orange(255, 140, 0);
    const QColor green(40, 190, 40);
    const double w = 44 * squash;
    const double h = 38 / squash;
    const QRectF body(foot.x() - w / 2, foot.y() - h - 4, w, h);
    p.setPen(QPen(black, 1));
    // Feet
    p.setBrush(orange.darker(120));
    p.drawEllipse(QRectF(body.left() + 6, foot.y() - 8, 14, 8));
    p.drawEllipse(QRectF(body.right() - 20, foot.y() - 8, 14, 8));
    // Green spikes along the top of the head.
    p.setBrush(green);
    for (int i = 0; i < 4; ++i) {
        const double x = body.left() + w * (0.2 + 0.2 * i);
        const double y = body.top() + (i == 1 || i == 2 ? 2 : 6);
        p.drawPolygon(
            QPolygonF({QPointF(x - 6, y + 6), QPointF(x, y - 10), QPointF(x + 6, y + 6)}));
    }
    // Arms waving up
    p.setBrush(orange);
    p.drawEllipse(QRectF(body.left() - 6, body.top() + h * 0.45, 12, 8));
    p.drawEllipse(QRectF(body.right() - 6, body.top() + h * 0.45, 12, 8));
    p.drawEllipse(body);
    p.setBrush(QColor(255, 190, 90));
    p.drawEllipse(QRectF(body.center().x() - w * 0.28, body.top() + h * 0.55, w * 0.56, h * 0.38));
    // Three eyes
    for (int i = 0; i < 3; ++i) {
        const double x = body.left() + w * (0.24 + 0.26 * i);
        const double y = body.top() + h * (i == 1 ? 0.22 : 0.3);
        p.setBrush(white);
        p.drawEllipse(QPointF(x, y), 5, 5);
        p.setBrush(black);
        p.drawEllipse(QPointF(x + 1, y + 1), 2, 2);
    }
    // Big smile
    p.setBrush(QColor(160, 20, 30));
    p.drawChord(QRectF(body.center().x() - 10, body.top() + h * 0.42, 20, 14), 180 * 16, 180 * 16);
    p.setBrush(white);
    p.drawRect(QRectF(body.center().x() - 6, body.top() + h * 0.42 + 7, 4, 3));
    p.drawRect(QRectF(body.center().x() + 2, body.top() + h * 0.42 + 7, 4, 3));
}

} // namespace

QList<QImage> Animations::writingPencil()
{
    constexpr int frames = 10;
    constexpr double end = 2 * pi * 4.5;
    QList<QImage> result;
    for (int f = 0; f < frames; ++f) {
        QImage image(185, 135, QImage::Format_RGB32);
        image.fill(QColor(200, 230, 255));
        QPainter p(&image);
        begin(p);
        // The sheet of paper with ruled lines.
        p.setPen(QPen(black, 1));
        p.setBrush(white);
        p.drawRect(10, 14, 164, 114);
        p.setPen(QPen(QColor(170, 200, 240), 1));
        for (int y = 34; y < 128; y += 16) {
            p.drawLine(11, y, 173, y);
        }
        p.setPen(QPen(QColor(240, 150, 150), 1));
        p.drawLine(24, 15, 24, 127);
        // The writing so far; the last frame shows the whole line.
        const double upTo = end * f / (frames - 1);
        QPainterPath trail;
        trail.moveTo(writingPoint(0));
        for (double t = 0.1; t <= upTo; t += 0.1) {
            trail.lineTo(writingPoint(t));
        }
        p.setPen(QPen(QColor(30, 60, 200), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(trail);
        drawPencil(p, writingPoint(upTo), 4 * std::sin(f * 1.3));
        result.append(image);
    }
    return result;
}

QList<QImage> Animations::jumpingMonster()
{
    constexpr int frames = 10;
    QList<QImage> result;
    for (int f = 0; f < frames; ++f) {
        QImage image(90, 91, QImage::Format_RGB32);
        image.fill(QColor(215, 235, 255));
        QPainter p(&image);
        begin(p);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 210, 90));
        p.drawRect(0, 78, 90, 13);
        p.setBrush(QColor(90, 180, 70));
        for (int x = 3; x < 90; x += 9) {
            p.drawRect(x, 80 + (x % 3), 2, 3);
        }
        // Frame 0 crouches, frames 1 to 9 are one arc through the air.
        double height = 0;
        double squash = 1.15;
        if (f > 0) {
            height = 20 * std::sin(pi * f / frames);
            squash = f == 1 || f == frames - 1 ? 0.95 : 0.9;
        }
        const double shadow = 40 - height * 0.6;
        p.setBrush(QColor(80, 160, 60));
        p.drawEllipse(QPointF(45, 82), shadow / 2, 3);
        drawMonster(p, QPointF(45, 82 - height), squash);
        result.append(image);
    }
    return result;
}

QImage Animations::wallpaperTile()
{
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor(255, 249, 236));
    QPainter p(&image);
    begin(p);
    p.setPen(Qt::NoPen);
    // Everything is drawn again one tile away in each direction so that the edges meet.
    for (int dx = -64; dx <= 64; dx += 64) {
        for (int dy = -64; dy <= 64; dy += 64) {
            p.save();
            p.translate(dx, dy);
            // A pink four-petal flower and a blue one, on a diagonal.
            for (const auto& [centre, petal, heart] :
                 {std::tuple{QPoint(16, 16), QColor(252, 214, 226), QColor(255, 236, 170)},
                  std::tuple{QPoint(48, 48), QColor(208, 228, 252), QColor(255, 236, 170)}}) {
                p.setBrush(petal);
                p.drawEllipse(centre + QPoint(0, -5), 4, 4);
                p.drawEllipse(centre + QPoint(0, 5), 4, 4);
                p.drawEllipse(centre + QPoint(-5, 0), 4, 4);
                p.drawEllipse(centre + QPoint(5, 0), 4, 4);
                p.setBrush(heart);
                p.drawEllipse(centre, 3, 3);
            }
            // Small mint and lilac dots between them.
            p.setBrush(QColor(214, 242, 220));
            p.drawEllipse(QPoint(48, 16), 3, 3);
            p.setBrush(QColor(232, 220, 248));
            p.drawEllipse(QPoint(16, 48), 3, 3);
            p.restore();
        }
    }
    return image;
}

void Animations::writeAll(const QString& dir)
{
    GifWriter pencil;
    for (const QImage& frame : writingPencil()) {
        pencil.addFrame(frame, frameDelay);
    }
    OutputFile::write(dir + "/ani.gif", pencil.encode());
    GifWriter monster;
    for (const QImage& frame : jumpingMonster()) {
        monster.addFrame(frame, frameDelay);
    }
    OutputFile::write(dir + "/monstruito.gif", monster.encode());
    GifWriter tile;
    tile.addFrame(wallpaperTile());
    OutputFile::write(dir + "/fondo.gif", tile.encode());
}
