#include "GoldPlans.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace GoldPlans {

namespace {

constexpr double kStripGaps[] = {2, 3, 4, 5, 6, 8};
constexpr double kStripSlants[] = {0, 3, -5, 8, -2, 12};
constexpr double kRingGaps[] = {3, 5, 8};
constexpr double kRingRadius = 60;

QPen line(double points, double unit, double widen, const QColor& colour = Qt::black)
{
    return QPen(colour, (points + widen) * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void paintStrips(QPainter& p, double unit, double widen, bool)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(line(2, unit, widen));
    for (int i = 0; i < 6; ++i) {
        p.save();
        p.translate(400, 60 + 95 * i);
        p.rotate(kStripSlants[i]);
        const double across = (kStripGaps[i] + 2) * unit; // between the lines' middles
        p.drawRect(QRectF(-300, -across / 2, 600, across));
        p.restore();
    }
}

QList<QPointF> stripCentres(double)
{
    QList<QPointF> points;
    for (int i = 0; i < 6; ++i)
        points << QPointF(400, 60 + 95 * i);
    return points;
}

void paintRings(QPainter& p, double unit, double widen, bool)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(line(2, unit, widen));
    for (int i = 0; i < 3; ++i) {
        const QPointF centre(150 + 250 * i, 300);
        p.drawEllipse(centre, kRingRadius, kRingRadius);
        const double outer = kRingRadius + (kRingGaps[i] + 2) * unit;
        p.drawEllipse(centre, outer, outer);
    }
}

QList<QPointF> ringCentres(double unit)
{
    QList<QPointF> points;
    for (int i = 0; i < 3; ++i) {
        const double middle = kRingRadius + (kRingGaps[i] + 2) * unit / 2;
        points << QPointF(150 + 250 * i, 300) << QPointF(150 + 250 * i + middle, 300);
    }
    return points;
}

// Colour areas are filled, or with `outlines` drawn as the lines the page
// should get along their edges.
void area(QPainter& p, const QPainterPath& shape, const QBrush& fill, const QPen& edge,
          bool outlines)
{
    p.setPen(outlines ? edge : Qt::NoPen);
    p.setBrush(outlines ? QBrush(Qt::NoBrush) : fill);
    p.drawPath(shape);
}

QPainterPath shape(const QRectF& box, bool round)
{
    QPainterPath path;
    if (round)
        path.addEllipse(box);
    else
        path.addRect(box);
    return path;
}

void paintCartoon(QPainter& p, double unit, double widen, bool outlines)
{
    const QPen edge = line(2, unit, widen);
    QPainterPath leaf;
    leaf.moveTo(40, 130);
    leaf.quadTo(130, 20, 220, 130);
    leaf.quadTo(130, 240, 40, 130);
    area(p, leaf, QColor(30, 100, 40), edge, outlines);
    p.setPen(line(3, unit, widen));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(330, 130), 80, 80);
    QPainterPath beak;
    beak.addPolygon(QPolygonF{{{350, 110}, {395, 130}, {350, 150}}});
    beak.closeSubpath();
    area(p, beak, QColor(250, 225, 90), edge, outlines);
    QLinearGradient sky(0, 60, 0, 220);
    sky.setColorAt(0, QColor(150, 200, 255));
    sky.setColorAt(1, QColor(40, 90, 200));
    area(p, shape(QRectF(480, 60, 280, 160), false), sky, edge, outlines);
    p.setPen(line(2, unit, widen));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(480, 60, 280, 160));
    for (int i = 0; i < 9; ++i) {
        const QRectF square(40 + 60 * (i % 3), 300 + 60 * (i / 3), 60, 60);
        area(p, shape(square, false), i % 2 ? Qt::white : QColor(128, 128, 128), edge, outlines);
    }
    p.setPen(line(3, unit, widen));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(40, 300, 180, 180));
    QPainterPath frame = shape(QRectF(260, 300, 180, 180), false);
    frame.addRect(QRectF(290, 330, 120, 120));
    area(p, frame, QColor(212, 175, 55), edge, outlines);
    QRadialGradient shade(QPointF(570, 360), 110);
    shade.setColorAt(0, QColor(255, 210, 140));
    shade.setColorAt(1, QColor(190, 80, 20));
    area(p, shape(QRectF(520, 310, 160, 160), true), shade, edge, outlines);
}

QList<QPointF> cartoonCentres(double)
{
    QList<QPointF> points{{130, 130}, {290, 130}, {365, 130}, {620, 140},
                          {272, 390}, {350, 390}, {600, 390}};
    for (int i = 0; i < 9; ++i)
        points << QPointF(70 + 60 * (i % 3), 330 + 60 * (i / 3));
    return points;
}

// The grey of the faint lines: about 165 once scanned onto grey paper.
void paintFaint(QPainter& p, double unit, double widen, bool)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(line(1.2, unit, widen, QColor(165, 165, 165)));
    for (int i = 1; i < 3; ++i) {
        p.drawLine(QPointF(100 + 200 * i, 60), QPointF(100 + 200 * i, 540));
        p.drawLine(QPointF(100, 60 + 160 * i), QPointF(700, 60 + 160 * i));
    }
    p.setPen(line(3, unit, widen));
    p.drawRect(QRectF(100, 60, 600, 480));
}

QList<QPointF> faintCentres(double)
{
    QList<QPointF> points;
    for (int i = 0; i < 9; ++i)
        points << QPointF(200 + 200 * (i % 3), 140 + 160 * (i / 3));
    return points;
}

// A hat and three rings drawn with bold strokes, 8 to 16 points across.
void paintBold(QPainter& p, double unit, double widen, bool)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(line(12, unit, widen));
    p.drawRect(QRectF(250, 60, 300, 300));
    p.drawLine(QPointF(250, 290), QPointF(550, 290));
    p.setPen(line(16, unit, widen));
    p.drawRoundedRect(QRectF(120, 360, 560, 90), 40, 40);
    for (int i = 0; i < 3; ++i) {
        p.setPen(line(8 + 4 * i, unit, widen));
        p.drawEllipse(QPointF(200 + 200 * i, 530), 45, 45);
    }
}

QList<QPointF> boldCentres(double)
{
    return {{400, 170}, {400, 325}, {180, 405}, {200, 530}, {400, 530}, {600, 530}};
}

// Clip art: a shaded sky, a hill with a dark green outline, white clouds with
// a light grey outline, a sun without one and a house with black outlines.
void paintClipArt(QPainter& p, double unit, double widen, bool outlines)
{
    const QPen edge = line(2, unit, widen);
    QLinearGradient sky(0, 0, 0, 600);
    sky.setColorAt(0, QColor(175, 215, 250));
    sky.setColorAt(1, QColor(105, 165, 230));
    if (!outlines)
        p.fillRect(QRectF(0, 0, 800, 600), sky);
    QPainterPath hill;
    hill.moveTo(-10, 430);
    hill.quadTo(400, 250, 810, 430);
    hill.lineTo(810, 610);
    hill.lineTo(-10, 610);
    hill.closeSubpath();
    p.setPen(outlines ? edge : line(4, unit, 0, QColor(20, 90, 30)));
    p.setBrush(outlines ? QBrush(Qt::NoBrush) : QBrush(QColor(80, 175, 65)));
    p.drawPath(hill);
    for (const QPointF& at : {QPointF(150, 90), QPointF(420, 130)}) {
        QPainterPath cloud;
        cloud.setFillRule(Qt::WindingFill);
        cloud.addEllipse(at, 70, 35);
        cloud.addEllipse(at + QPointF(45, -25), 45, 35);
        cloud.addEllipse(at + QPointF(-40, -15), 35, 28);
        cloud = cloud.simplified();
        p.setPen(outlines ? edge : line(2, unit, 0, QColor(200, 200, 200)));
        p.setBrush(outlines ? QBrush(Qt::NoBrush) : QBrush(Qt::white));
        p.drawPath(cloud);
    }
    area(p, shape(QRectF(630, 50, 110, 110), true), QColor(255, 215, 0), edge, outlines);
    // The house stands in front of the hill, its outline hidden behind it.
    const auto fill = [&](const QColor& colour) { return outlines ? QColor(Qt::white) : colour; };
    p.setPen(line(3, unit, widen));
    p.setBrush(fill(QColor(200, 60, 50)));
    p.drawRect(QRectF(150, 380, 170, 130));
    QPainterPath roof;
    roof.addPolygon(QPolygonF{{{130, 380}, {235, 300}, {340, 380}}});
    roof.closeSubpath();
    p.setBrush(fill(QColor(120, 70, 30)));
    p.drawPath(roof);
    p.setBrush(fill(QColor(250, 240, 170)));
    p.drawRect(QRectF(180, 410, 50, 50));
}

QList<QPointF> clipArtCentres(double)
{
    return {{560, 60},  {600, 520}, {150, 95},  {430, 135},
            {685, 105}, {280, 470}, {235, 355}, {205, 435}};
}

} // namespace

const GoldSet::Plan& strips()
{
    static const GoldSet::Plan plan{paintStrips, stripCentres, 0};
    return plan;
}

const GoldSet::Plan& rings()
{
    static const GoldSet::Plan plan{paintRings, ringCentres, 1};
    return plan;
}

const GoldSet::Plan& cartoon()
{
    static const GoldSet::Plan plan{paintCartoon, cartoonCentres, 2};
    return plan;
}

const GoldSet::Plan& faint()
{
    static const GoldSet::Plan plan{paintFaint, faintCentres, 2};
    return plan;
}

const GoldSet::Plan& bold()
{
    static const GoldSet::Plan plan{paintBold, boldCentres, 2};
    return plan;
}

const GoldSet::Plan& clipArt()
{
    static const GoldSet::Plan plan{paintClipArt, clipArtCentres, 2};
    return plan;
}

} // namespace GoldPlans
