#pragma once

#include "core/colour/ColorRef.h"
#include "core/geometry/CanvasPlacement.h"
#include "core/geometry/DisplayZoom.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <vector>

// A picture control with a flat one-pixel border: a flat background colour,
// an optional picture at the top-left of its inside, and presses that carry
// the button and the pixel inside the border.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBorder = CanvasPlacement::kPictureBorder;

    explicit PictureBox(const DisplayZoom& zoom, QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return shownPicture(); }

    void setBackColour(ColorRef colour);
    ColorRef backColour() const { return m_backColour; }

    // The size the control takes when it sizes itself to its picture.
    QSize sizeForPicture() const;

    // The control's size in pixels of the composition: its widget size
    // undone from the display zoom.
    QSize pixelSize() const;
    // The widget rectangle that shows a rectangle of composition pixels.
    QRect widgetRectOf(const QRect& pixels) const;
    // The composition pixel, from the inside's top-left, under a widget point.
    QPointF insidePixelAt(const QPointF& widgetPoint) const;

    // The colour shown at a point of the inside (pixels from its top-left),
    // or kInvalidColour outside it.
    ColorRef colourAt(int x, int y) const;

signals:
    // `at` is the pixel under the press, from the inside's top-left.
    void pressed(Qt::MouseButton button, QPoint at);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // What the inside shows at its top-left.
    virtual const QImage& shownPicture() const { return m_picture; }

private:
    void paintAsked(const QRect& asked);
    void onPress(const QMouseEvent& event);
    static bool fromFinger(const QMouseEvent& event);
    bool isSecondTap(const QMouseEvent& event);
    void paintOneToOne(QPainter& painter, const QRect& asked);
    void paintAtZoom(QPainter& painter, const QRect& asked);
    // What each device column of a zoomed paint shows, and where the
    // picture's run of them starts and ends.
    struct ZoomedColumns {
        std::vector<int> shown;
        std::size_t from = 0;
        std::size_t to = 0;
    };
    void fillZoomedLine(QRgb* line, const ZoomedColumns& columns, int row) const;

    DisplayZoom m_zoom;
    QImage m_picture;
    ColorRef m_backColour = rgbColour(255, 255, 255);
    QElapsedTimer m_lastTap;
    QPointF m_lastTapAt;
    std::vector<QRgb> m_zoomed; // the zoomed picture being painted
};
