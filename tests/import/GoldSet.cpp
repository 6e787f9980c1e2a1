#include "import/GoldSet.h"

#include "colour/FloodFill.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QSvgGenerator>
#include <QtMath>
#include <functional>

namespace GoldSet {

namespace {

constexpr double kBaseWidth = 800;
const QPointF kCentres[] = {{130, 130}, {335, 130}, {590, 140}, {180, 275}, {180, 415}, {125, 362},
                            {235, 362}, {180, 490}, {450, 430}, {665, 360}, {665, 505}};
constexpr ColorRef kMark = rgbColour(255, 0, 0);

// Draws on an 800 × 600 plan; `widen` thickens every line by that many
// points of the finished picture, `unit` being one such point on the plan.
void paint(QPainter& p, double unit, double widen = 0)
{
    const auto pen = [&](double points) {
        p.setPen(
            QPen(Qt::black, (points + widen) * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    };
    p.setBrush(Qt::NoBrush);
    pen(2);
    p.drawEllipse(QPointF(130, 130), 90, 90);
    pen(6);
    p.drawRect(QRectF(250, 50, 170, 160));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? 42 : 100, a = M_PI * (i / 5.0 - 0.5);
        star << QPointF(590 + r * std::cos(a), 140 + r * std::sin(a));
    }
    pen(2);
    p.drawPolygon(star);
    pen(3);
    p.drawRect(QRectF(60, 300, 240, 240));
    p.drawPolygon(QPolygonF{{{60, 300}, {180, 220}, {300, 300}}});
    pen(2);
    p.drawRect(QRectF(95, 335, 60, 55));
    p.drawRect(QRectF(205, 335, 60, 55));
    p.drawRect(QRectF(150, 440, 60, 100));
    pen(1);
    p.drawEllipse(QPointF(450, 430), 80, 80);
    p.drawRect(QRectF(570, 300, 190, 120));
    pen(2);
    p.drawRect(QRectF(570, 450, 190, 110));
}

// `lineScale` points of the picture make one point of the page.
QImage drawn(QSize size, bool antialias, double widen = 0, double lineScale = 1)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, antialias);
    const double scale = size.width() / kBaseWidth;
    p.scale(scale, scale);
    paint(p, lineScale / scale, widen);
    return image;
}

QByteArray encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// A grey page at 300 dpi: tinted paper, soft ink, sensor noise.
QImage scanned(QSize size)
{
    QImage scan = drawn(size * 3, true, 0, 3).convertToFormat(QImage::Format_Grayscale8);
    QRandomGenerator noise(7);
    for (int y = 0; y < scan.height(); ++y) {
        uchar* row = scan.scanLine(y);
        for (int x = 0; x < scan.width(); ++x)
            row[x] = uchar(qBound(0, 40 + row[x] * 190 / 255 + noise.bounded(-25, 26), 255));
    }
    return scan;
}

QByteArray vector(const QString& format, QSize size, int pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const double scale = size.width() / kBaseWidth;
    const auto draw = [&](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        paint(p, 1 / scale);
    };
    if (format == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(), size));
        QPainter p(&svg);
        draw(p);
        return bytes;
    }
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
    pdf.setPageMargins({});
    pdf.setResolution(72);
    QPainter p(&pdf);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            pdf.newPage();
        p.save();
        draw(p);
        p.restore();
    }
    p.end();
    return bytes;
}

bool marked(QRgb pixel)
{
    return fromQRgb(pixel) == kMark;
}

} // namespace

QByteArray make(const QString& format, QSize size, int pdfPages)
{
    if (format == QLatin1String("png"))
        return encoded(drawn(size, true), "PNG");
    if (format.startsWith(QLatin1String("jpeg")))
        return encoded(drawn(size, true), "JPEG", format.mid(4).toInt());
    if (format == QLatin1String("scan"))
        return encoded(scanned(size), "PNG");
    return vector(format, size, pdfPages);
}

QList<QPoint> centres(QSize page)
{
    QList<QPoint> points;
    for (const QPointF& centre : kCentres)
        points << (centre * (page.width() / kBaseWidth)).toPoint();
    return points;
}

Quality measure(const QImage& page)
{
    // Each area's inside less its outline: the plan drawn hard-edged with
    // every line a point wider on each side, each area and the paper round
    // the drawing marked with its own colour.
    QImage areas = drawn(page.size(), false, 2);
    const QList<QPoint> points = centres(page.size()) << QPoint(0, 0);
    for (int i = 0; i < points.size(); ++i)
        floodFill(areas, points[i].x(), points[i].y(), rgbColour(0, i + 1, 0));
    const QImage clean = page.convertToFormat(QImage::Format_RGB32);
    Quality q;
    for (int i = 0; i + 1 < points.size(); ++i) {
        QImage filled = clean;
        floodFill(filled, points[i].x(), points[i].y(), kMark);
        qint64 size = 0, reached = 0, elsewhere = 0;
        for (int y = 0; y < page.height(); ++y) {
            const QRgb* f = reinterpret_cast<const QRgb*>(filled.constScanLine(y));
            const QRgb* a = reinterpret_cast<const QRgb*>(areas.constScanLine(y));
            for (int x = 0; x < page.width(); ++x) {
                const bool own = fromQRgb(a[x]) == rgbColour(0, i + 1, 0);
                const bool other = !own && qRed(a[x]) == 0 && qGreen(a[x]) > 0;
                size += own;
                reached += own && marked(f[x]);
                elsewhere += other && marked(f[x]);
            }
        }
        const double share = size ? 100.0 * double(reached) / double(size) : 0;
        ++q.areas;
        q.whole += share >= 99 && elsewhere == 0;
        q.worstFill = std::min(q.worstFill, share);
    }
    return q;
}

} // namespace GoldSet
