#include "import/GoldSet.h"

#include "core/colour/FloodFill.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QSvgGenerator>
#include <QtMath>
#include <functional>

namespace GoldSet {

namespace {

constexpr QSizeF kPlan(800, 600);
constexpr ColorRef kMark = rgbColour(255, 0, 0);

void paintShapes(QPainter& p, double unit, double widen, bool)
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

// The plan as large as `size` holds, centred.
QTransform placed(QSizeF size)
{
    const double scale = std::min(size.width() / kPlan.width(), size.height() / kPlan.height());
    return QTransform::fromTranslate((size.width() - kPlan.width() * scale) / 2,
                                     (size.height() - kPlan.height() * scale) / 2)
        .scale(scale, scale);
}

// `lineScale` points of the picture make one point of the page.
QImage drawn(const Plan& plan, QSize size, bool antialias, double widen = 0, double lineScale = 1,
             bool outlines = false)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, antialias);
    const QTransform place = placed(size);
    p.setTransform(place);
    plan.paint(p, lineScale / place.m11(), widen, outlines);
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

// A grey page `scale` times the size: tinted paper lit a little unevenly,
// soft ink, sensor noise.
QImage scanned(const Plan& plan, QSize size, double scale)
{
    const QSize large = (QSizeF(size) * scale).toSize();
    QImage scan = drawn(plan, large, true, 0, scale).convertToFormat(QImage::Format_Grayscale8);
    QRandomGenerator noise(7);
    for (int y = 0; y < scan.height(); ++y) {
        uchar* row = scan.scanLine(y);
        for (int x = 0; x < scan.width(); ++x) {
            const int light = 246 - 16 * x / scan.width() - 8 * y / scan.height();
            row[x] =
                uchar(qBound(0, 40 + row[x] * (light - 40) / 255 + noise.bounded(-25, 26), 255));
        }
    }
    return scan;
}

QByteArray vector(const Plan& plan, const QString& format, QSize size, int pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QTransform place = placed(size);
    const auto draw = [&](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setTransform(place, true);
        plan.paint(p, 1 / place.m11(), 0, false);
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

const Plan& shapes()
{
    static const Plan plan{paintShapes, [](double) {
                               return QList<QPointF>{{130, 130}, {335, 130}, {590, 140}, {180, 275},
                                                     {180, 415}, {125, 362}, {235, 362}, {180, 490},
                                                     {450, 430}, {665, 360}, {665, 505}};
                           }};
    return plan;
}

QByteArray make(const QString& format, QSize size, int pdfPages)
{
    return make(shapes(), format, size, pdfPages);
}

QByteArray make(const Plan& plan, const QString& format, QSize size, int pdfPages)
{
    if (format == QLatin1String("png"))
        return encoded(drawn(plan, size, true), "PNG");
    if (format.startsWith(QLatin1String("jpeg")))
        return encoded(drawn(plan, size, true), "JPEG", format.mid(4).toInt());
    if (format == QLatin1String("scan"))
        return encoded(scanned(plan, size, 3), "PNG");
    if (format.startsWith(QLatin1String("scan")))
        return encoded(scanned(plan, size, format.mid(4).toDouble() / size.width()), "JPEG", 90);
    return vector(plan, format, size, pdfPages);
}

QList<QPoint> centres(QSize page)
{
    return centres(shapes(), page);
}

QList<QPoint> centres(const Plan& plan, QSize page)
{
    const QTransform place = placed(page);
    QList<QPoint> points;
    for (const QPointF& centre : plan.centres(1 / place.m11()))
        points << place.map(centre).toPoint();
    return points;
}

QImage photo(QSize size, int seed)
{
    QRandomGenerator random{quint32(seed)};
    const auto colour = [&] {
        return QColor::fromHsv(random.bounded(360), 60 + random.bounded(190),
                               70 + random.bounded(180));
    };
    // Drawn small and enlarged smoothly: soft edges, as a lens gives them.
    const QSize small = size / 4;
    QImage image(small, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, small.width() * 0.3, small.height());
    ground.setColorAt(0, colour());
    ground.setColorAt(1, colour());
    p.fillRect(image.rect(), ground);
    p.setPen(Qt::NoPen);
    const double unit = small.width() / 100.0;
    for (int i = 0; i < 14 + 6 * seed; ++i) {
        const QPointF centre(random.bounded(100.0) * unit,
                             random.bounded(100.0) * small.height() / 100);
        const double radius = (4 + random.bounded(18.0)) * unit;
        QRadialGradient shade(centre - QPointF(radius, radius) / 3, radius * 1.4);
        const QColor lit = colour();
        shade.setColorAt(0, lit.lighter(140));
        shade.setColorAt(1, lit.darker(170));
        p.setBrush(shade);
        p.save();
        p.translate(centre);
        p.rotate(random.bounded(180.0));
        p.drawEllipse(QPointF(), radius, radius * (0.4 + random.bounded(0.6)));
        p.restore();
    }
    p.end();
    QImage full = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Grain on every point, as a camera's sensor gives it.
    for (int y = 0; y < full.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(full.scanLine(y));
        for (int x = 0; x < full.width(); ++x) {
            const int grain = int(random.generate() % 25) - 12;
            row[x] = qRgb(qBound(0, qRed(row[x]) + grain, 255),
                          qBound(0, qGreen(row[x]) + grain + int(random.generate() % 7) - 3, 255),
                          qBound(0, qBlue(row[x]) + grain, 255));
        }
    }
    return full;
}

Quality measure(const QImage& page)
{
    return measure(shapes(), page);
}

Quality measure(const Plan& plan, const QImage& page)
{
    // Each area's inside less its outline: the plan drawn hard-edged with
    // every line wider, each area and the paper round the drawing marked
    // with its own colour.
    QImage areas = drawn(plan, page.size(), false, plan.truthWiden, 1, true);
    QList<QPoint> points = centres(plan, page.size());
    for (int i = 0; i < points.size(); ++i)
        floodFill(areas, points[i].x(), points[i].y(), rgbColour(0, i + 1, 0));
    // The paper round the drawing, unless an area (a sky) reaches the corner.
    points << QPoint(0, 0);
    if (areas.pixel(0, 0) == qRgb(255, 255, 255))
        floodFill(areas, 0, 0, rgbColour(0, int(points.size()), 0));
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
        q.leaks += elsewhere > 0;
        q.worstFill = std::min(q.worstFill, share);
    }
    // Paper no press reaches: a hollowed line's inside, an area lost.
    QImage all = clean;
    for (const QPoint& point : points)
        floodFill(all, point.x(), point.y(), kMark);
    qint64 stray = 0;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(all.constScanLine(y));
        stray += std::count(row, row + page.width(), qRgb(255, 255, 255));
    }
    q.strayPaper = 100.0 * double(stray) / (double(page.width()) * page.height());
    return q;
}

} // namespace GoldSet
