#include "ui/PictureButton.h"

#include "ui/FailureBoundary.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

PictureButton::PictureButton(const QImage& picture, QWidget* parent)
    : QPushButton(parent), m_picture(picture)
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
    QPoint topLeft = inside.center() - QPoint(m_picture.width() / 2, m_picture.height() / 2);
    if (isDown())
        topLeft += QPoint(1, 1);
    painter.drawImage(topLeft, m_picture);
}
