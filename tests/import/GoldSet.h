#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

// Line art with known closed areas (circles, boxes, a star, a house with
// windows; lines 1, 2, 3 and 6 points wide), made in any of the formats a
// parent may bring, and the measure of how whole one press fills each area
// of the page made from it.
namespace GoldSet {

// "png", "jpeg50", "jpeg75", "scan" (grey, noisy, 3× the size), "svg", "pdf".
// The drawing is `size` (its 4:3 shape) at the size a page of it will have.
QByteArray make(const QString& format, QSize size, int pdfPages = 1);

struct Quality {
    int areas = 0;
    int whole = 0;          // areas filled to at least 99 % with nothing outside
    double worstFill = 100; // the smallest share of an area one press filled, in %
    bool leaked = false;    // a press coloured some other area
};

// A point inside each closed area of a page of that size made from the drawing.
QList<QPoint> centres(QSize page);

// Presses the centre of each area of a clean page made from the drawing.
Quality measure(const QImage& page);

} // namespace GoldSet
