#include "AppIcon.h"

#include "BmpWriter.h"
#include "LittleEndian.h"
#include "OutputFile.h"

#include <QBuffer>
#include <QLinearGradient>
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

namespace {

QByteArray encodedPng(int size, const QString& path)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!AppIcon::draw(size).save(&buffer, "PNG"))
        throw std::runtime_error("cannot encode " + path.toStdString());
    return png;
}

// A Windows icon file holding the sizes Windows shows, each stored as PNG
// (which Windows reads in icons since Vista): a header, one entry a size,
// then the pictures.
QByteArray windowsIcon(const QList<QPair<int, QByteArray>>& pictures)
{
    LittleEndian ico;
    ico.u16(0);
    ico.u16(1); // an icon, not a cursor
    ico.u16(quint16(pictures.size()));
    quint32 offset = 6 + 16 * quint32(pictures.size());
    for (const auto& [size, png] : pictures) {
        ico.u8(quint8(size % 256)); // 256 is written as 0
        ico.u8(quint8(size % 256));
        ico.u8(0); // no palette
        ico.u8(0);
        ico.u16(1);  // colour planes
        ico.u16(32); // bits a point
        ico.u32(quint32(png.size()));
        ico.u32(offset);
        offset += quint32(png.size());
    }
    for (const auto& picture : pictures)
        ico.bytes(picture.second);
    return ico.data();
}

} // namespace

void AppIcon::writeAll(const QString& dir)
{
    QList<QPair<int, QByteArray>> windowsSizes;
    for (const int size : kSizes) {
        const QString path = dir + QStringLiteral("/icon-%1.png").arg(size);
        const QByteArray png = encodedPng(size, path);
        OutputFile::write(path, png);
        if (size == 16 || size == 24 || size == 32 || size == 48 || size == 256)
            windowsSizes.append({size, png});
    }
    OutputFile::write(dir + QStringLiteral("/icon.ico"), windowsIcon(windowsSizes));
    BmpWriter::writeRgb24(dir + QStringLiteral("/setup-side.bmp"), setupSide());
}

QImage AppIcon::setupSide()
{
    // The size the setup program's first and last pages give their picture.
    QImage side(164, 314, QImage::Format_RGB32);
    QPainter painter(&side);
    QLinearGradient sky(0, 0, 0, side.height());
    sky.setColorAt(0, QColor(255, 236, 160));
    sky.setColorAt(1, QColor(255, 170, 120));
    painter.fillRect(side.rect(), sky);
    const QImage icon = draw(128);
    painter.drawImage(QPoint((side.width() - icon.width()) / 2, 60), icon);
    return side;
}
