#include "ui/Canvas.h"

#include "core/session/PageSession.h"

Canvas::Canvas(const PageSession& session, const DisplayZoom& zoom, QWidget* parent)
    : PictureBox(zoom, parent), m_session(session)
{
    setBackColour(rgbColour(255, 255, 255));
}

const QImage& Canvas::shownPicture() const
{
    return m_session.page();
}

void Canvas::showPage()
{
    update();
}

void Canvas::showChange(const QRect& changed)
{
    if (!changed.isEmpty())
        repaint(widgetRectOf(changed.translated(kBorder, kBorder)));
}
