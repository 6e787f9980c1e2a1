#pragma once

#include "ui/PictureBox.h"

class PageSession;

// The canvas: shows the session's page with its fills. It owns nothing of the
// page; the window tells it what the session changed.
class Canvas : public PictureBox {
    Q_OBJECT
public:
    Canvas(const PageSession& session, const DisplayZoom& zoom, QWidget* parent = nullptr);

    // A new page, or the page replaced as a whole.
    void showPage();
    // Puts a change of the page on screen before returning, redrawing only
    // the rectangle of page pixels it touched; nothing for an empty one.
    void showChange(const QRect& changed);

protected:
    const QImage& shownPicture() const override;

private:
    const PageSession& m_session;
};
