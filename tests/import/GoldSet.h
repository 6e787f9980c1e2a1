#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>

// Line art with known closed areas, made in any of the formats a parent may
// bring, and the measure of how whole one press fills each area
// of the page made from it.
namespace GoldSet {

// A drawing on an 800 × 600 plan, placed as large as fits and centred.
struct Plan {
    // Draws it with every line `widen` points of the finished page thicker,
    // `unit` being one such point on the plan; with `outlines`, areas of
    // colour are drawn as their outlines only, the way the page should be.
    std::function<void(QPainter& p, double unit, double widen, bool outlines)> paint;
    // A point inside each closed area, on the plan.
    std::function<QList<QPointF>(double unit)> centres;
    // How much wider the lines are drawn to tell each area's inside.
    double truthWiden = 2;
};

// Circles, boxes, a star, a house with windows: lines 1, 2, 3 and 6 points.
const Plan& shapes();

// "png", "jpeg50", "jpeg75", "scan" (grey, uneven, noisy, 3× the size),
// "scanW" (the same as a JPEG W points wide), "svg", "pdf". `size` is the
// size a page of it will have.
QByteArray make(const QString& format, QSize size, int pdfPages = 1);
QByteArray make(const Plan& plan, const QString& format, QSize size, int pdfPages = 1);

// A picture with the marks of a photograph: shaded shapes of many colours
// on a shaded ground, with grain and no flat area. `seed` picks the scene.
QImage photo(QSize size, int seed);

struct Quality {
    int areas = 0;
    int whole = 0;          // areas filled to at least 99 % with nothing outside
    double worstFill = 100; // the smallest share of an area one press filled, in %
    int leaks = 0;          // presses that coloured some other area
    double strayPaper = 0;  // % of the page white where no area's press reaches
};

// A point inside each closed area of a page of that size made from the drawing.
QList<QPoint> centres(QSize page);
QList<QPoint> centres(const Plan& plan, QSize page);

// Presses the centre of each area of a clean page made from the drawing.
Quality measure(const QImage& page);
Quality measure(const Plan& plan, const QImage& page);

} // namespace GoldSet
