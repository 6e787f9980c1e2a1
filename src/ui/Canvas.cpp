#include "ui/Canvas.h"

#include "colour/FloodFill.h"

Canvas::Canvas(QWidget* parent) : PictureBox(parent)
{
    setBackColour(rgbColour(255, 255, 255));
}

void Canvas::setPicture(const QImage& picture)
{
    PictureBox::setPicture(picture.convertToFormat(QImage::Format_RGB32));
}

void Canvas::fillAt(int x, int y)
{
    floodFill(m_picture, x, y, m_fillColour);
}
