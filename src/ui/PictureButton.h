#pragma once

#include "core/geometry/DisplayZoom.h"

#include <QImage>
#include <QPushButton>

class QPainter;

// A button with no caption that shows a picture, centred and clipped to it.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    PictureButton(const QImage& picture, const DisplayZoom& zoom, QWidget* parent = nullptr);
    const QImage& picture() const { return m_picture; }
    void setPicture(const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintPicture();
    void drawPicture(QPainter& painter, const QRect& inside) const;

    QImage m_picture;
    DisplayZoom m_zoom;
};
