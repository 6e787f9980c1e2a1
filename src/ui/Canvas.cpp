#include "ui/Canvas.h"

Canvas::Canvas(QWidget* parent) : PictureBox(parent)
{
    setBackColour(rgbColour(255, 255, 255));
}

void Canvas::setPicture(const QImage& picture)
{
    PictureBox::setPicture(picture.convertToFormat(QImage::Format_RGB32));
    m_history.clear();
}

void Canvas::replacePicture(const QImage& picture)
{
    const QImage before = m_picture;
    PictureBox::setPicture(picture.convertToFormat(QImage::Format_RGB32));
    m_history.replaced(before, m_picture);
}

FillResult Canvas::fillAt(int x, int y)
{
    const FillResult result = m_history.fill(m_picture, x, y, m_fillColour);
    if (result)
        repaint(widgetRectOf(result.changed.translated(kBorder, kBorder)));
    return result;
}

bool Canvas::undo()
{
    return showChange(m_history.undo(m_picture));
}

bool Canvas::redo()
{
    return showChange(m_history.redo(m_picture));
}

bool Canvas::showChange(const UndoHistory::Change& change)
{
    // Like a fill: only what the step changed is drawn again, at once.
    if (change)
        repaint(widgetRectOf(change.changed.translated(kBorder, kBorder)));
    return bool(change);
}
