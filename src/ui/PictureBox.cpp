#include "ui/PictureBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
}

void PictureBox::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void PictureBox::setBackColour(ColorRef colour)
{
    m_backColour = colour;
    update();
}

QSize PictureBox::sizeForPicture() const
{
    return m_picture.size() + QSize(2 * kBorder, 2 * kBorder);
}

ColorRef PictureBox::colourAt(int x, int y) const
{
    const int insideWidth = width() - 2 * kBorder;
    const int insideHeight = height() - 2 * kBorder;
    if (x < 0 || y < 0 || x >= insideWidth || y >= insideHeight)
        return kInvalidColour;
    if (x < m_picture.width() && y < m_picture.height())
        return fromQRgb(m_picture.pixel(x, y));
    return m_backColour;
}

int PictureBox::buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return kLeftButton;
    case Qt::RightButton:
        return kRightButton;
    case Qt::MiddleButton:
        return kMiddleButton;
    default:
        return 0;
    }
}

int PictureBox::shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    // Only the part asked for is drawn, and each pixel once: the picture where it
    // lies, the background only around it, the border only when it is touched.
    QPainter painter(this);
    const QRect inside = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    const QRect dirty = event->rect() & inside;
    const QRect picture = QRect(QPoint(kBorder, kBorder), m_picture.size()) & inside;
    const QRect shown = picture & dirty;
    if (!shown.isEmpty())
        painter.drawImage(shown.topLeft(), m_picture, shown.translated(-kBorder, -kBorder));
    const QColor back(toQRgb(m_backColour));
    for (const QRect& around : QRegion(dirty) - QRegion(picture))
        painter.fillRect(around, back);
    if (!inside.contains(event->rect())) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    const QPointF inside = event->position() - QPointF(kBorder, kBorder);
    emit mouseDown(buttonCode(event->button()), shiftCode(event->modifiers()),
                   static_cast<float>(inside.x()), static_cast<float>(inside.y()));
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent*)
{
    // The first press of the pair has already been handled as a press.
    emit doubleClicked();
}
