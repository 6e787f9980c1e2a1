#pragma once

#include "core/geometry/DisplayZoom.h"

#include <QWidget>

// A ring around a control that fills clockwise from the top while it is held:
// the child sees how long is left. Presses go through it to what lies below.
class HoldRing : public QWidget {
    Q_OBJECT
public:
    HoldRing(const DisplayZoom& zoom, QWidget* parent);
    // Centres the ring on `control`'s rectangle, in the parent's pixels,
    // small enough to stay inside the parent.
    void surround(const QRect& control);
    // 0 shows the empty ring, 1 the full one.
    void setProgress(double progress);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintRing();
    int thickness() const;

    DisplayZoom m_zoom;
    double m_progress = 0;
};
