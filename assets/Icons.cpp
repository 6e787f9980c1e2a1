#include "Icons.h"

#include "OutputFile.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <stdexcept>
#include <utility>

namespace {

const QColor black(0, 0, 0);
const QColor white(255, 255, 255);
const QColor monsterOrange(255, 140, 0);
const QColor spikeGreen(40, 190, 40);

QImage blank()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void begin(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(black, 1));
}

} // namespace

QImage Icons::monster()
{
    QImage image = blank();
    QPainter p(&image);
    begin(p);
    p.setBrush(spikeGreen);
    p.drawPolygon(QPolygon({QPoint(6, 12), QPoint(5, 2), QPoint(12, 8)}));
    p.drawPolygon(QPolygon({QPoint(12, 8), QPoint(16, 0), QPoint(20, 8)}));
    p.drawPolygon(QPolygon({QPoint(20, 8), QPoint(27, 2), QPoint(26, 12)}));
    p.setBrush(monsterOrange);
    p.drawEllipse(QRect(2, 6, 28, 25));
    // Three eyes in a row, the middle one a little higher.
    p.setBrush(white);
    p.drawEllipse(QRect(5, 12, 7, 7));
    p.drawEllipse(QRect(13, 10, 7, 7));
    p.drawEllipse(QRect(21, 12, 7, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(black);
    p.drawRect(8, 15, 2, 2);
    p.drawRect(16, 13, 2, 2);
    p.drawRect(24, 15, 2, 2);
    // A wide smile with two teeth.
    p.setPen(QPen(black, 1));
    p.setBrush(QColor(150, 20, 20));
    p.drawChord(QRect(9, 18, 14, 9), 180 * 16, 180 * 16);
    p.setBrush(white);
    p.drawRect(12, 22, 2, 2);
    p.drawRect(18, 22, 2, 2);
    return image;
}

QImage Icons::duck()
{
    QImage image = blank();
    QPainter p(&image);
    begin(p);
    p.setBrush(black);
    p.drawEllipse(QRect(3, 1, 26, 27));
    // A little tuft on top.
    p.drawPolygon(
        QPolygon({QPoint(14, 3), QPoint(13, 0), QPoint(17, 2), QPoint(19, 0), QPoint(18, 4)}));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(white);
    p.drawEllipse(QRect(6, 5, 10, 12));
    p.drawEllipse(QRect(16, 5, 10, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(black);
    p.drawRect(11, 10, 3, 4);
    p.drawRect(18, 10, 3, 4);
    p.setBrush(white);
    p.drawPoint(12, 10);
    p.drawPoint(19, 10);
    p.setPen(QPen(QColor(150, 70, 0), 1));
    p.setBrush(QColor(255, 150, 0));
    p.drawEllipse(QRect(3, 18, 26, 9));
    p.drawLine(7, 22, 25, 22);
    return image;
}

QImage Icons::rayGun()
{
    QImage image = blank();
    QPainter p(&image);
    begin(p);
    const QColor blue(40, 90, 230);
    const QColor red(230, 30, 30);
    const QColor yellow(255, 220, 0);
    // Drawn lying along the diagonal so that the muzzle is the pointer's tip.
    p.translate(16, 16);
    p.rotate(45);
    p.translate(-16, -16);
    p.setBrush(blue);
    // Grip
    p.drawPolygon(QPolygon({QPoint(17, 18), QPoint(23, 18), QPoint(22, 30), QPoint(16, 30)}));
    // Barrel and body
    p.drawRoundedRect(QRect(5, 12, 25, 8), 3, 3);
    p.setBrush(yellow);
    p.drawRect(10, 11, 2, 10);
    p.drawRect(14, 11, 2, 10);
    p.drawEllipse(QRect(23, 14, 4, 4));
    p.setBrush(red);
    p.drawPolygon(QPolygon({QPoint(0, 11), QPoint(6, 13), QPoint(6, 19), QPoint(0, 21)}));
    return image;
}

void Icons::writeAll(const QString& dir)
{
    for (const auto& [name, image] : {std::pair{"monster", monster()}, std::pair{"duck", duck()},
                                      std::pair{"raygun", rayGun()}}) {
        const QString base = dir + "/" + QString::fromLatin1(name);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            throw std::runtime_error("cannot encode " + base.toStdString() + ".png");
        }
        OutputFile::write(base + ".png", png);
    }
}
