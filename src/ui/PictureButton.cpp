#include "ui/PictureButton.h"

#include "ui/FailureBoundary.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

PictureButton::PictureButton(const QImage& picture, const DisplayZoom& zoom, QWidget* parent)
    : QPushButton(parent), m_picture(picture), m_zoom(zoom)
{
    setFocusPolicy(Qt::TabFocus);
}

void PictureButton::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void PictureButton::paintEvent(QPaintEvent*)
{
    FailureBoundary::run([this] { paintPicture(); });
}

void PictureButton::paintPicture()
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    const QRect inside = rect().adjusted(2, 2, -2, -2);
    painter.setClipRect(inside);
    drawPicture(painter, inside);
}

void PictureButton::drawPicture(QPainter& painter, const QRect& inside) const
{
    const QPoint pressed = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    if (m_zoom.widgetScale() == 1.0) {
        const QPoint half(m_picture.width() / 2, m_picture.height() / 2);
        painter.drawImage(inside.center() - half + pressed, m_picture);
        return;
    }
    // Zoomed about the same centre; smoothed, as the buttons' pictures are no drawings.
    const QSizeF size = QSizeF(m_picture.size()) * m_zoom.widgetScale();
    const QPointF centre = QRectF(inside).center() + pressed;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(centre - QPointF(size.width(), size.height()) / 2, size), m_picture);
}
