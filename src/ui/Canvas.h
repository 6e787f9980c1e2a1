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

    void setPersistentMode(bool on) { m_persistentMode = on; }
    bool persistentMode() const { return m_persistentMode; }

    // Floods the area at a pixel of the persistent image with the fill
    // colour. A point outside the picture paints nothing.
    void fillAt(int x, int y);

    // Drawing settings the page-book start-up gives the canvas.
    void setScaleInPixels(bool on) { m_scaleInPixels = on; }
    void setSolidFillStyle(bool on) { m_solidFillStyle = on; }
    void setDrawWidth(int width) { m_drawWidth = width; }

private:
    ColorRef m_fillColour = rgbColour(255, 0, 0);
    bool m_persistentMode = false;
    bool m_scaleInPixels = false;
    bool m_solidFillStyle = false;
    int m_drawWidth = 1;
};
