#include "AppIcon.h"

#include "OutputFile.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <stdexcept>

QImage AppIcon::draw(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    // Smooth edges suit an icon; the pages themselves are drawn without.
    p.setRenderHint(QPainter::Antialiasing, true);
    // Drawn on a 256-unit square; small sizes get thicker lines so that the
    // outline still reads at 16 pixels.
    p.scale(size / 256.0, size / 256.0);
    const double line = size < 48 ? 14 : 8;
    const QPen outline(QColor(30, 30, 30), line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    p.setPen(outline);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(24, 16, 196, 224), 18, 18);

    // The stem and a leaf, coloured green.
    p.drawLine(QPointF(110, 136), QPointF(110, 212));
    QPainterPath leaf;
    leaf.moveTo(110, 190);
    leaf.cubicTo(130, 160, 160, 160, 170, 168);
    leaf.cubicTo(160, 190, 130, 196, 110, 190);
    p.setBrush(QColor(60, 190, 70));
    p.drawPath(leaf);

    // Six petals, four of them coloured, two still white to be filled in.
    const QColor petals[] = {QColor(235, 50, 60),  QColor(255, 140, 0),  Qt::white,
                             QColor(60, 120, 235), QColor(180, 70, 200), Qt::white};
    for (int i = 0; i < 6; ++i) {
        const double angle = i * M_PI / 3.0;
        const QPointF centre(110 + 44 * std::cos(angle), 92 + 44 * std::sin(angle));
        p.setBrush(petals[i]);
        p.drawEllipse(centre, 28, 28);
    }
    p.setBrush(QColor(255, 215, 0));
    p.drawEllipse(QPointF(110, 92), 26, 26);

    // A red crayon leaning on the page's corner.
    p.translate(196, 188);
    p.rotate(-45);
    p.setBrush(QColor(235, 50, 60));
    p.drawRect(QRectF(-18, -20, 36, 80));
    QPainterPath tip;
    tip.moveTo(-18, -20);
    tip.lineTo(0, -56);
    tip.lineTo(18, -20);
    tip.closeSubpath();
    p.setBrush(QColor(245, 215, 170));
    p.drawPath(tip);
    p.end();
    return image;
}

void AppIcon::writeAll(const QString& dir)
{
    for (const int size : kSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        const QString path = dir + QStringLiteral("/icon-%1.png").arg(size);
        if (!draw(size).save(&buffer, "PNG"))
            throw std::runtime_error("cannot encode " + path.toStdString());
        OutputFile::write(path, png);
    }
}
