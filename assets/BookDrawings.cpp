#include "BookDrawings.h"

#include "LineArt.h"
#include "OutputFile.h"
#include "gif/GifWriter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <cmath>
#include <functional>

namespace {

constexpr double pi = 3.14159265358979323846;

QPainterPath ellipse(QPointF centre, double rx, double ry)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

QPainterPath polygon(const QPolygonF& points)
{
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

QPainterPath rotated(const QPainterPath& path, QPointF centre, double degrees)
{
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(degrees);
    t.translate(-centre.x(), -centre.y());
    return t.map(path);
}

// Draws inside an area only, then outlines the area again so that every line drawn in it
// ends on its border and splits it cleanly.
void inside(QPainter& p, const QPainterPath& area, const std::function<void()>& draw)
{
    p.save();
    p.setClipPath(area);
    draw();
    p.restore();
    p.save();
    p.setBrush(Qt::NoBrush);
    p.drawPath(area);
    p.restore();
}

QPainterPath cloudShape(QPointF c, double s)
{
    QPainterPath cloud = ellipse(c, 45 * s, 22 * s);
    cloud = cloud.united(ellipse(c + QPointF(-22 * s, -12 * s), 22 * s, 20 * s));
    cloud = cloud.united(ellipse(c + QPointF(12 * s, -20 * s), 26 * s, 24 * s));
    cloud = cloud.united(ellipse(c + QPointF(38 * s, -4 * s), 20 * s, 17 * s));
    return cloud.simplified();
}

void cloud(QPainter& p, QPointF c, double s)
{
    p.drawPath(cloudShape(c, s));
}

void sun(QPainter& p, QPointF c, double r)
{
    for (int i = 0; i < 10; ++i) {
        const double a = 2 * pi * i / 10 + pi / 10;
        const double half = 0.2;
        p.drawPath(polygon({c + QPointF(std::cos(a - half), std::sin(a - half)) * (r + 4),
                            c + QPointF(std::cos(a), std::sin(a)) * (r + 28),
                            c + QPointF(std::cos(a + half), std::sin(a + half)) * (r + 4)}));
    }
    p.drawPath(ellipse(c, r, r));
    p.save();
    p.setBrush(Qt::black);
    p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.2), 3, 5);
    p.drawEllipse(c + QPointF(r * 0.35, -r * 0.2), 3, 5);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r * 0.45, c.y() - r * 0.2, r * 0.9, r * 0.7), 200 * 16, 140 * 16);
    p.restore();
}

// A little five-petal flower on a stem, standing on the ground at base.
void daisy(QPainter& p, QPointF base, double height, double r)
{
    const QPointF head = base - QPointF(0, height);
    QPainterPath stem;
    stem.moveTo(base + QPointF(-3, 0));
    stem.quadTo(head + QPointF(-8, height / 2), head + QPointF(-3, 0));
    stem.lineTo(head + QPointF(3, 0));
    stem.quadTo(head + QPointF(-2, height / 2), base + QPointF(3, 0));
    stem.closeSubpath();
    p.drawPath(stem);
    QPainterPath leaf;
    const QPointF at = base - QPointF(2, height * 0.35);
    leaf.moveTo(at);
    leaf.cubicTo(at + QPointF(6, -14), at + QPointF(20, -16), at + QPointF(26, -18));
    leaf.cubicTo(at + QPointF(22, -4), at + QPointF(12, 2), at);
    p.drawPath(leaf);
    for (int i = 0; i < 5; ++i) {
        const double a = 2 * pi * i / 5 - pi / 2;
        p.drawPath(ellipse(head + QPointF(std::cos(a), std::sin(a)) * r, r * 0.75, r * 0.75));
    }
    p.drawPath(ellipse(head, r * 0.6, r * 0.6));
}

void bird(QPainter& p, QPointF c, double s)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(c + QPointF(-14 * s, -4 * s));
    path.quadTo(c + QPointF(-7 * s, -10 * s), c);
    path.quadTo(c + QPointF(7 * s, -10 * s), c + QPointF(14 * s, -4 * s));
    p.drawPath(path);
    p.restore();
}

void grassTuft(QPainter& p, QPointF base)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.drawLine(base, base + QPointF(-6, -12));
    p.drawLine(base, base + QPointF(0, -15));
    p.drawLine(base, base + QPointF(6, -12));
    p.restore();
}

QImage page(const std::function<void(QPainter&)>& draw)
{
    QImage image = LineArt::blankPage();
    {
        QPainter p(&image);
        LineArt::setUp(p);
        draw(p);
    }
    return LineArt::finish(image);
}

// A fish facing left, its body centred on c, scaled by s.
void fishShape(QPainter& p, QPointF c, double s, bool stripes)
{
    const auto at = [&](double x, double y) { return c + QPointF(x * s, y * s); };
    QPainterPath tail;
    tail.moveTo(at(120, 0));
    tail.cubicTo(at(160, -40), at(200, -80), at(230, -90));
    tail.cubicTo(at(205, -40), at(205, 40), at(230, 90));
    tail.cubicTo(at(200, 80), at(160, 40), at(120, 0));
    p.drawPath(tail);
    inside(p, tail, [&] {
        p.drawLine(at(150, -15), at(225, -55));
        p.drawLine(at(150, 15), at(225, 55));
    });
    QPainterPath topFin;
    topFin.moveTo(at(-70, -60));
    topFin.cubicTo(at(-60, -125), at(30, -135), at(90, -105));
    topFin.cubicTo(at(75, -85), at(70, -55), at(70, -30));
    topFin.closeSubpath();
    p.drawPath(topFin);
    if (stripes) {
        inside(p, topFin, [&] {
            p.drawLine(at(-20, -60), at(-20, -140));
            p.drawLine(at(30, -60), at(40, -140));
        });
    }
    QPainterPath bottomFin;
    bottomFin.moveTo(at(-10, 60));
    bottomFin.cubicTo(at(0, 120), at(50, 130), at(80, 115));
    bottomFin.cubicTo(at(65, 95), at(60, 70), at(55, 40));
    bottomFin.closeSubpath();
    p.drawPath(bottomFin);
    QPainterPath body;
    body.moveTo(at(-150, 0));
    body.cubicTo(at(-130, -90), at(30, -120), at(130, 0));
    body.cubicTo(at(30, 120), at(-130, 90), at(-150, 0));
    p.drawPath(body);
    if (stripes) {
        inside(p, body, [&] {
            for (double x : {-10.0, 50.0}) {
                QPainterPath band;
                band.moveTo(at(x, -130));
                band.quadTo(at(x + 25, 0), at(x, 130));
                band.lineTo(at(x + 28, 130));
                band.quadTo(at(x + 53, 0), at(x + 28, -130));
                band.closeSubpath();
                p.drawPath(band);
            }
        });
    }
    // Gill
    p.save();
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(at(-95, -45), at(-55, 45)), -70 * 16, 140 * 16);
    p.restore();
    // Side fin
    QPainterPath fin;
    fin.moveTo(at(-60, 20));
    fin.cubicTo(at(-30, 5), at(0, 20), at(5, 50));
    fin.cubicTo(at(-20, 50), at(-50, 40), at(-60, 20));
    p.drawPath(fin);
    // Eye with a shine
    p.drawPath(ellipse(at(-100, -20), 17 * s, 17 * s));
    p.save();
    p.setBrush(Qt::black);
    p.drawEllipse(at(-104, -18), 8 * s, 8 * s);
    p.restore();
    // Smiling mouth
    p.save();
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(at(-150, 0), at(-118, 28)), 110 * 16, 110 * 16);
    p.restore();
}

void bubble(QPainter& p, QPointF c, double r)
{
    p.drawPath(ellipse(c, r, r));
    if (r >= 12) {
        p.save();
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - r * 0.6, c.y() - r * 0.6, r * 1.2, r * 1.2), 100 * 16, 60 * 16);
        p.restore();
    }
}

} // namespace

QImage BookDrawings::house()
{
    return page([](QPainter& p) {
        sun(p, QPointF(82, 78), 38);
        cloud(p, QPointF(250, 70), 1.0);
        cloud(p, QPointF(520, 60), 0.8);
        bird(p, QPointF(390, 60), 1.0);
        bird(p, QPointF(425, 85), 0.8);
        // Hills far away, then the garden.
        QPainterPath hills;
        hills.moveTo(-5, 290);
        hills.cubicTo(80, 230, 170, 240, 250, 285);
        hills.cubicTo(360, 210, 520, 220, 645, 270);
        hills.lineTo(645, 490);
        hills.lineTo(-5, 490);
        hills.closeSubpath();
        p.drawPath(hills);
        QPainterPath garden;
        garden.moveTo(-5, 365);
        garden.cubicTo(150, 345, 420, 390, 645, 355);
        garden.lineTo(645, 490);
        garden.lineTo(-5, 490);
        garden.closeSubpath();
        p.drawPath(garden);
        // Tree
        QPainterPath trunk;
        trunk.moveTo(505, 400);
        trunk.cubicTo(520, 380, 522, 300, 520, 230);
        trunk.lineTo(548, 230);
        trunk.cubicTo(546, 300, 548, 380, 565, 400);
        trunk.closeSubpath();
        p.drawPath(trunk);
        QPainterPath crown = ellipse(QPointF(534, 190), 70, 55);
        crown = crown.united(ellipse(QPointF(490, 170), 40, 38));
        crown = crown.united(ellipse(QPointF(580, 165), 42, 40));
        crown = crown.united(ellipse(QPointF(535, 130), 48, 40));
        crown = crown.simplified();
        p.drawPath(crown);
        for (const QPointF& apple : {QPointF(500, 180), QPointF(560, 200), QPointF(535, 140),
                                     QPointF(585, 160), QPointF(520, 220)}) {
            p.drawPath(ellipse(apple, 10, 10));
        }
        // House: chimney behind the roof, then walls, roof, door and windows.
        p.drawRect(QRectF(350, 105, 32, 80));
        p.drawRect(QRectF(343, 95, 46, 14));
        p.drawPath(ellipse(QPointF(380, 72), 10, 8));
        p.drawPath(ellipse(QPointF(398, 48), 14, 11));
        p.drawRect(QRectF(200, 210, 210, 185));
        const QPainterPath roof =
            polygon({QPointF(180, 218), QPointF(305, 105), QPointF(430, 218)});
        p.drawPath(roof);
        inside(p, roof, [&] { p.drawLine(QPointF(150, 182), QPointF(460, 182)); });
        p.drawPath(ellipse(QPointF(305, 155), 17, 17));
        inside(p, ellipse(QPointF(305, 155), 17, 17), [&] {
            p.drawLine(QPointF(285, 155), QPointF(325, 155));
            p.drawLine(QPointF(305, 135), QPointF(305, 175));
        });
        QPainterPath door;
        door.moveTo(278, 395);
        door.lineTo(278, 300);
        door.arcTo(QRectF(278, 275, 54, 50), 180, -180);
        door.lineTo(332, 395);
        door.closeSubpath();
        p.drawPath(door);
        p.save();
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(322, 345), 4, 4);
        p.restore();
        for (double x : {218.0, 348.0}) {
            const QRectF window(x, 240, 46, 46);
            p.drawRect(window);
            p.drawLine(QPointF(x + 23, 240), QPointF(x + 23, 286));
            p.drawLine(QPointF(x, 263), QPointF(x + 46, 263));
            p.drawRect(QRectF(x - 6, 286, 58, 8));
        }
        // Flower box under the right window.
        for (double x : {358.0, 372.0, 386.0}) {
            p.drawPath(ellipse(QPointF(x, 300), 6, 6));
        }
        p.drawRect(QRectF(346, 304, 50, 14));
        // Path to the door with stepping stones.
        QPainterPath path;
        path.moveTo(280, 396);
        path.cubicTo(270, 420, 230, 450, 220, 490);
        path.lineTo(390, 490);
        path.cubicTo(370, 450, 335, 420, 330, 396);
        path.closeSubpath();
        p.drawPath(path);
        p.drawPath(ellipse(QPointF(300, 412), 14, 7));
        p.drawPath(ellipse(QPointF(292, 438), 18, 9));
        p.drawPath(ellipse(QPointF(305, 466), 22, 10));
        // Garden flowers and grass
        daisy(p, QPointF(60, 430), 60, 10);
        daisy(p, QPointF(120, 445), 45, 10);
        daisy(p, QPointF(470, 450), 55, 10);
        daisy(p, QPointF(600, 440), 45, 10);
        for (const QPointF& tuft : {QPointF(170, 400), QPointF(30, 470), QPointF(430, 420),
                                    QPointF(560, 470), QPointF(190, 460)}) {
            grassTuft(p, tuft);
        }
    });
}

QImage BookDrawings::fish()
{
    return page([](QPainter& p) {
        // Waves on the surface
        QPainterPath surface;
        surface.moveTo(-5, 30);
        for (int i = 0; i < 8; ++i) {
            surface.quadTo(i * 85 + 40, 10, i * 85 + 80, 30);
        }
        surface.lineTo(645, -5);
        surface.lineTo(-5, -5);
        surface.closeSubpath();
        p.drawPath(surface);
        // Sand
        QPainterPath sand;
        sand.moveTo(-5, 420);
        sand.cubicTo(150, 395, 300, 440, 460, 410);
        sand.cubicTo(540, 395, 600, 405, 645, 415);
        sand.lineTo(645, 490);
        sand.lineTo(-5, 490);
        sand.closeSubpath();
        p.drawPath(sand);
        // Seaweed
        for (double x : {60.0, 95.0, 560.0}) {
            QPainterPath weed;
            weed.moveTo(x - 10, 430);
            weed.cubicTo(x - 40, 370, x + 20, 330, x - 10, 260);
            weed.cubicTo(x + 30, 320, x - 10, 370, x + 14, 430);
            weed.closeSubpath();
            p.drawPath(weed);
        }
        // Pebbles, a shell and a starfish
        p.drawPath(ellipse(QPointF(200, 450), 22, 11));
        p.drawPath(ellipse(QPointF(235, 462), 14, 8));
        p.drawPath(ellipse(QPointF(610, 455), 18, 10));
        QPainterPath shell;
        shell.moveTo(390, 460);
        shell.arcTo(QRectF(360, 420, 60, 60), 0, 180);
        shell.closeSubpath();
        p.drawPath(shell);
        inside(p, shell, [&] {
            for (double a : {45.0, 90.0, 135.0}) {
                const double r = a * pi / 180;
                p.drawLine(QPointF(390, 450),
                           QPointF(390 + 40 * std::cos(r), 450 - 40 * std::sin(r)));
            }
        });
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double a = 2 * pi * i / 10 - pi / 2;
            const double r = i % 2 == 0 ? 30 : 13;
            star << QPointF(480 + r * std::cos(a), 445 + r * std::sin(a));
        }
        p.drawPath(polygon(star));
        // The big fish, a little one, and their bubbles.
        fishShape(p, QPointF(310, 230), 1.15, true);
        fishShape(p, QPointF(520, 340), 0.35, false);
        bubble(p, QPointF(120, 205), 9);
        bubble(p, QPointF(100, 165), 13);
        bubble(p, QPointF(118, 115), 17);
        bubble(p, QPointF(90, 65), 20);
        bubble(p, QPointF(445, 300), 7);
        bubble(p, QPointF(430, 270), 10);
        bubble(p, QPointF(560, 110), 14);
        bubble(p, QPointF(600, 75), 10);
    });
}

QImage BookDrawings::flower()
{
    return page([](QPainter& p) {
        cloud(p, QPointF(90, 70), 0.9);
        cloud(p, QPointF(560, 90), 0.8);
        // Table the pot stands on
        p.drawRect(QRectF(-5, 455, 650, 40));
        // Stem
        QPainterPath stem;
        stem.moveTo(312, 350);
        stem.cubicTo(300, 300, 330, 250, 312, 180);
        stem.lineTo(328, 180);
        stem.cubicTo(346, 250, 316, 300, 328, 350);
        stem.closeSubpath();
        p.drawPath(stem);
        // Leaves with a vein down the middle
        const auto leaf = [&](QPointF base, QPointF tip, double bulge) {
            const QPointF d = tip - base;
            const QPointF n(-d.y() * bulge, d.x() * bulge);
            QPainterPath shape;
            shape.moveTo(base);
            shape.cubicTo(base + d * 0.3 + n, base + d * 0.8 + n * 0.6, tip);
            shape.cubicTo(base + d * 0.8 - n * 0.6, base + d * 0.3 - n, base);
            p.drawPath(shape);
            inside(p, shape, [&] {
                QPainterPath vein;
                vein.moveTo(base);
                vein.quadTo(base + d * 0.5 + n * 0.15, tip);
                p.save();
                p.setBrush(Qt::NoBrush);
                p.drawPath(vein);
                p.restore();
            });
        };
        leaf(QPointF(316, 300), QPointF(180, 245), 0.33);
        leaf(QPointF(322, 262), QPointF(465, 225), 0.33);
        // A ladybird resting on the right leaf
        p.drawPath(ellipse(QPointF(420, 236), 9, 9));
        const QPainterPath ladybird = ellipse(QPointF(400, 248), 20, 16);
        p.drawPath(ladybird);
        inside(p, ladybird, [&] { p.drawLine(QPointF(418, 242), QPointF(378, 256)); });
        p.save();
        p.setBrush(Qt::black);
        for (const QPointF& dot : {QPointF(393, 240), QPointF(408, 256), QPointF(392, 258)}) {
            p.drawEllipse(dot, 3, 3);
        }
        p.restore();
        // Petals round a smiling middle
        const QPointF head(320, 140);
        for (int i = 0; i < 10; ++i) {
            const QPainterPath petal = ellipse(head + QPointF(0, -70), 24, 44);
            p.drawPath(rotated(petal, head, 36.0 * i));
        }
        p.drawPath(ellipse(head, 46, 46));
        p.save();
        p.setBrush(Qt::black);
        p.drawEllipse(head + QPointF(-15, -10), 5, 7);
        p.drawEllipse(head + QPointF(15, -10), 5, 7);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(head.x() - 22, head.y() - 8, 44, 32), 200 * 16, 140 * 16);
        p.restore();
        p.drawPath(ellipse(head + QPointF(-28, 10), 7, 5));
        p.drawPath(ellipse(head + QPointF(28, 10), 7, 5));
        // The pot with a wavy band
        const QPainterPath pot =
            polygon({QPointF(235, 372), QPointF(405, 372), QPointF(385, 457), QPointF(255, 457)});
        p.drawPath(pot);
        inside(p, pot, [&] {
            QPainterPath band;
            band.moveTo(200, 405);
            for (int i = 0; i < 6; ++i) {
                band.quadTo(215 + i * 40, 390, 230 + i * 40, 405);
                band.quadTo(245 + i * 40, 420, 260 + i * 40, 405);
            }
            band.lineTo(460, 425);
            for (int i = 5; i >= 0; --i) {
                band.quadTo(245 + i * 40, 440, 230 + i * 40, 425);
                band.quadTo(215 + i * 40, 410, 200 + i * 40, 425);
            }
            band.closeSubpath();
            p.drawPath(band);
        });
        p.drawRect(QRectF(222, 342, 196, 32));
        // A bee on its way, and a butterfly-shaped sun corner
        const QPainterPath beeBody = ellipse(QPointF(120, 250), 38, 26);
        p.drawPath(rotated(ellipse(QPointF(112, 212), 18, 26), QPointF(112, 212), -20));
        p.drawPath(rotated(ellipse(QPointF(140, 210), 18, 26), QPointF(140, 210), 20));
        p.drawPath(beeBody);
        inside(p, beeBody, [&] {
            p.drawRect(QRectF(108, 215, 14, 70));
            p.drawRect(QRectF(136, 215, 14, 70));
        });
        p.drawPath(ellipse(QPointF(82, 248), 16, 16));
        p.save();
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(77, 244), 3, 4);
        p.drawPolygon(QPolygonF({QPointF(157, 246), QPointF(170, 250), QPointF(157, 254)}));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(70, 246, 12, 8), 200 * 16, 140 * 16);
        p.setPen(QPen(Qt::black, 2, Qt::DashLine));
        QPainterPath flight;
        flight.moveTo(175, 262);
        flight.cubicTo(200, 300, 220, 250, 240, 280);
        p.drawPath(flight);
        p.restore();
        daisy(p, QPointF(80, 455), 70, 12);
        daisy(p, QPointF(560, 455), 80, 13);
    });
}

QImage BookDrawings::car()
{
    return page([](QPainter& p) {
        sun(p, QPointF(560, 75), 36);
        cloud(p, QPointF(120, 70), 1.0);
        cloud(p, QPointF(350, 50), 0.7);
        QPainterPath hill;
        hill.moveTo(-5, 300);
        hill.cubicTo(120, 210, 260, 230, 360, 300);
        hill.lineTo(360, 360);
        hill.lineTo(-5, 360);
        hill.closeSubpath();
        p.drawPath(hill);
        QPainterPath hill2;
        hill2.moveTo(300, 320);
        hill2.cubicTo(420, 230, 560, 240, 645, 290);
        hill2.lineTo(645, 360);
        hill2.lineTo(300, 360);
        hill2.closeSubpath();
        p.drawPath(hill2);
        // Road with its middle stripes
        p.drawRect(QRectF(-5, 350, 650, 140));
        for (int x = 10; x < 640; x += 110) {
            p.drawRect(QRectF(x, 440, 60, 10));
        }
        // Body, cabin, windows
        QPainterPath cabin;
        cabin.moveTo(190, 275);
        cabin.cubicTo(215, 215, 235, 185, 280, 180);
        cabin.lineTo(400, 180);
        cabin.cubicTo(430, 185, 455, 230, 480, 275);
        cabin.closeSubpath();
        p.drawPath(cabin);
        p.drawPath(
            polygon({QPointF(215, 268), QPointF(248, 205), QPointF(325, 198), QPointF(325, 268)}));
        p.drawPath(
            polygon({QPointF(345, 268), QPointF(345, 198), QPointF(405, 200), QPointF(450, 268)}));
        QPainterPath body;
        body.moveTo(105, 395);
        body.lineTo(100, 300);
        body.cubicTo(100, 280, 120, 270, 150, 270);
        body.lineTo(480, 270);
        body.cubicTo(520, 275, 540, 300, 545, 330);
        body.lineTo(545, 395);
        body.closeSubpath();
        p.drawPath(body);
        inside(p, body, [&] {
            p.drawLine(QPointF(335, 260), QPointF(335, 400));
            p.save();
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(95, 330), QPointF(560, 330));
            p.restore();
        });
        p.drawRect(QRectF(300, 290, 22, 8));
        p.drawPath(ellipse(QPointF(535, 305), 12, 14));
        p.drawRect(QRectF(100, 290, 14, 24));
        p.drawRect(QRectF(510, 380, 50, 18));
        p.drawRect(QRectF(90, 380, 40, 18));
        // Wheels
        for (double x : {195.0, 450.0}) {
            p.drawPath(ellipse(QPointF(x, 395), 44, 44));
            p.drawPath(ellipse(QPointF(x, 395), 24, 24));
            p.drawPath(ellipse(QPointF(x, 395), 8, 8));
        }
        // Exhaust puffs
        p.drawPath(ellipse(QPointF(70, 385), 12, 10));
        p.drawPath(ellipse(QPointF(45, 370), 16, 13));
        p.drawPath(ellipse(QPointF(22, 345), 19, 16));
    });
}

QImage BookDrawings::cat()
{
    return page([](QPainter& p) {
        // A window on the wall with the moon outside
        p.drawRect(QRectF(40, 40, 150, 130));
        p.drawPath(ellipse(QPointF(80, 80), 18, 18));
        p.drawLine(QPointF(115, 40), QPointF(115, 170));
        p.drawLine(QPointF(40, 105), QPointF(190, 105));
        p.drawRect(QRectF(30, 170, 170, 12));
        // Floor and rug
        p.drawRect(QRectF(-5, 400, 650, 90));
        p.drawPath(ellipse(QPointF(330, 435), 230, 38));
        p.drawPath(ellipse(QPointF(330, 435), 180, 24));
        // Tail curling up beside the body
        QPainterPath tailLine;
        tailLine.moveTo(400, 400);
        tailLine.cubicTo(520, 410, 530, 300, 480, 250);
        tailLine.cubicTo(460, 230, 500, 200, 520, 225);
        QPainterPathStroker stroker;
        stroker.setWidth(26);
        stroker.setCapStyle(Qt::RoundCap);
        stroker.setJoinStyle(Qt::RoundJoin);
        const QPainterPath tail = stroker.createStroke(tailLine).simplified();
        p.drawPath(tail);
        inside(p, tail, [&] {
            p.drawLine(QPointF(470, 260), QPointF(520, 250));
            p.drawLine(QPointF(490, 310), QPointF(530, 310));
            p.drawLine(QPointF(480, 360), QPointF(520, 380));
        });
        // Body, belly and paws
        const QPainterPath body = ellipse(QPointF(320, 330), 100, 90);
        p.drawPath(body);
        inside(p, body, [&] {
            p.drawPath(ellipse(QPointF(320, 350), 55, 60));
            p.save();
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(195, 290, 40, 60), -60 * 16, 120 * 16);
            p.drawArc(QRectF(405, 290, 40, 60), 120 * 16, 120 * 16);
            p.restore();
        });
        for (double x : {280.0, 360.0}) {
            p.drawPath(ellipse(QPointF(x, 412), 28, 16));
            p.drawLine(QPointF(x - 8, 420), QPointF(x - 8, 427));
            p.drawLine(QPointF(x + 8, 420), QPointF(x + 8, 427));
        }
        // Collar with a bell
        QPainterPath collar;
        collar.moveTo(245, 238);
        collar.quadTo(320, 275, 395, 238);
        collar.lineTo(395, 256);
        collar.quadTo(320, 293, 245, 256);
        collar.closeSubpath();
        p.drawPath(collar);
        // Ears, then the head over them
        for (int side : {-1, 1}) {
            const QPointF tip(320 + side * 80, 70);
            p.drawPath(
                polygon({QPointF(320 + side * 20, 120), tip, QPointF(320 + side * 95, 160)}));
            p.drawPath(polygon({QPointF(320 + side * 40, 120), tip + QPointF(-side * 8, 22),
                                QPointF(320 + side * 80, 145)}));
        }
        const QPainterPath head = ellipse(QPointF(320, 175), 100, 80);
        p.drawPath(head);
        inside(p, head, [&] { p.drawPath(ellipse(QPointF(320, 220), 50, 35)); });
        p.drawPath(ellipse(QPointF(320, 290), 13, 13));
        p.drawLine(QPointF(308, 290), QPointF(332, 290));
        // Stripes on the forehead
        for (double x : {305.0, 320.0, 335.0}) {
            p.drawLine(QPointF(x, 97), QPointF(x, 112));
        }
        // Eyes with slit pupils and a shine
        for (double x : {280.0, 360.0}) {
            p.drawPath(ellipse(QPointF(x, 165), 20, 24));
            p.save();
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(x + 2, 167), 6, 15);
            p.restore();
        }
        // Nose, mouth and whiskers
        p.drawPath(polygon({QPointF(308, 200), QPointF(332, 200), QPointF(320, 213)}));
        p.save();
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(300, 205, 20, 20), 200 * 16, 160 * 16);
        p.drawArc(QRectF(320, 205, 20, 20), 180 * 16, 160 * 16);
        for (int side : {-1, 1}) {
            for (int i = -1; i <= 1; ++i) {
                p.drawLine(QPointF(320 + side * 45, 215 + i * 8),
                           QPointF(320 + side * 140, 205 + i * 18));
            }
        }
        p.restore();
        // A ball of wool
        const QPainterPath wool = ellipse(QPointF(110, 360), 48, 48);
        p.drawPath(wool);
        inside(p, wool, [&] {
            p.save();
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(60, 300, 90, 110), 200 * 16, 140 * 16);
            p.drawArc(QRectF(80, 330, 110, 80), 90 * 16, 120 * 16);
            p.drawArc(QRectF(40, 330, 100, 100), 0 * 16, 100 * 16);
            p.restore();
        });
        p.save();
        p.setBrush(Qt::NoBrush);
        QPainterPath thread;
        thread.moveTo(145, 392);
        thread.cubicTo(170, 440, 200, 400, 225, 430);
        p.drawPath(thread);
        p.restore();
    });
}

QImage BookDrawings::butterfly()
{
    return page([](QPainter& p) {
        sun(p, QPointF(75, 70), 32);
        cloud(p, QPointF(540, 60), 0.9);
        // Meadow with flowers
        QPainterPath meadow;
        meadow.moveTo(-5, 420);
        meadow.cubicTo(200, 400, 420, 440, 645, 410);
        meadow.lineTo(645, 490);
        meadow.lineTo(-5, 490);
        meadow.closeSubpath();
        p.drawPath(meadow);
        daisy(p, QPointF(70, 455), 80, 14);
        daisy(p, QPointF(160, 465), 55, 11);
        daisy(p, QPointF(490, 465), 60, 12);
        daisy(p, QPointF(580, 455), 85, 14);
        for (const QPointF& tuft : {QPointF(250, 460), QPointF(400, 470), QPointF(620, 475)}) {
            grassTuft(p, tuft);
        }
        const QPointF centre(320, 225);
        constexpr double s = 0.82;
        for (int side : {-1, 1}) {
            const auto at = [&](double x, double y) { return centre + QPointF(side * x, y) * s; };
            // Lower wing
            QPainterPath lower;
            lower.moveTo(at(5, 10));
            lower.cubicTo(at(90, 20), at(190, 80), at(160, 150));
            lower.cubicTo(at(130, 200), at(40, 180), at(5, 60));
            lower.closeSubpath();
            p.drawPath(lower);
            inside(p, lower, [&] {
                p.drawPath(ellipse(at(100, 100), 30 * s, 30 * s));
                p.drawPath(ellipse(at(100, 100), 14 * s, 14 * s));
                QPainterPath edge;
                edge.moveTo(at(200, 110));
                edge.quadTo(at(120, 170), at(60, 200));
                p.save();
                p.setBrush(Qt::NoBrush);
                p.drawPath(edge);
                p.restore();
            });
            // Upper wing
            QPainterPath upper;
            upper.moveTo(at(5, 0));
            upper.cubicTo(at(40, -120), at(150, -190), at(230, -150));
            upper.cubicTo(at(270, -120), at(230, -20), at(150, 10));
            upper.cubicTo(at(100, 25), at(40, 25), at(5, 10));
            upper.closeSubpath();
            p.drawPath(upper);
            inside(p, upper, [&] {
                p.drawPath(ellipse(at(140, -80), 45 * s, 40 * s));
                p.drawPath(ellipse(at(140, -80), 20 * s, 18 * s));
                p.drawPath(ellipse(at(60, -30), 18 * s, 18 * s));
                p.drawPath(ellipse(at(205, -25), 16 * s, 16 * s));
                p.drawPath(ellipse(at(215, -120), 14 * s, 14 * s));
            });
        }
        // Body in stripes, the head with a face, and the feelers
        const QPainterPath body = ellipse(centre + QPointF(0, 60) * s, 16, 100 * s);
        p.drawPath(body);
        inside(p, body, [&] {
            for (int y = 10; y < 160; y += 28) {
                p.drawLine(centre + QPointF(-20, y * s), centre + QPointF(20, y * s + 6));
            }
        });
        p.save();
        p.setBrush(Qt::NoBrush);
        for (int side : {-1, 1}) {
            QPainterPath feeler;
            feeler.moveTo(centre + QPointF(side * 8, -50) * s);
            feeler.cubicTo(centre + QPointF(side * 15, -110) * s,
                           centre + QPointF(side * 50, -130) * s,
                           centre + QPointF(side * 60, -150) * s);
            p.drawPath(feeler);
        }
        p.restore();
        p.drawPath(ellipse(centre + QPointF(-62, -155) * s, 9, 9));
        p.drawPath(ellipse(centre + QPointF(62, -155) * s, 9, 9));
        const QPointF face = centre + QPointF(0, -48) * s;
        p.drawPath(ellipse(face, 28, 26));
        p.save();
        p.setBrush(Qt::black);
        p.drawEllipse(face + QPointF(-10, -5), 4, 6);
        p.drawEllipse(face + QPointF(10, -5), 4, 6);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(face.x() - 12, face.y() - 4, 24, 18), 200 * 16, 140 * 16);
        p.restore();
    });
}

QList<QImage> BookDrawings::all()
{
    return {house(), fish(), flower(), car(), cat(), butterfly()};
}

void BookDrawings::writeAll(const QString& programDir)
{
    const QList<QImage> pages = all();
    for (int i = 0; i < pages.size(); ++i) {
        GifWriter gif;
        gif.addFrame(pages[i]);
        OutputFile::write(programDir + "/dibujos/" + QString::number(i + 1) + ".gif", gif.encode());
    }
}
