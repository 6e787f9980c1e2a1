#pragma once

#include "ui/PictureBox.h"

// The canvas: its persistent image is the page on show with all its fills,
// what the screen shows, what a page turn saves and what the clipboard gets.
class Canvas : public PictureBox {
    Q_OBJECT
public:
    explicit Canvas(QWidget* parent = nullptr);

    // Takes the picture as the persistent image (in RGB32, the fill's format).
    void setPicture(const QImage& picture) override;
    const QImage& persistentImage() const { return m_picture; }

    void setFillColour(ColorRef colour) { m_fillColour = colour; }
    ColorRef fillColour() const { return m_fillColour; }

    // Floods the area at a pixel of the persistent image with the fill
    // colour. A point outside the picture paints nothing.
    void fillAt(int x, int y);

private:
    ColorRef m_fillColour = rgbColour(255, 0, 0);
};
