#include "ui/HoldRing.h"

#include "ui/FailureBoundary.h"

#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <cmath>

HoldRing::HoldRing(const DisplayZoom& zoom, QWidget* parent) : QWidget(parent), m_zoom(zoom)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

int HoldRing::thickness() const
{
    return qMax(1, m_zoom.widgetLength(7));
}

void HoldRing::surround(const QRect& control)
{
    // Wide enough to pass round the control's corners; a control near the
    // window's edge gets a smaller ring, for a ring cut off at the edge never
    // shows the top where it starts to fill.
    const QPoint centre = control.center();
    const QRect room = parentWidget()->rect();
    const int roomAround = std::min({centre.x() - room.left(), room.right() - centre.x(),
                                     centre.y() - room.top(), room.bottom() - centre.y()});
    const int diameter = std::max(
        1, std::min(static_cast<int>(std::ceil(std::hypot(control.width(), control.height()))) +
                        2 * thickness(),
                    2 * roomAround + 1));
    QRect square(0, 0, diameter, diameter);
    square.moveCenter(control.center());
    setGeometry(square);
}

void HoldRing::setProgress(double progress)
{
    m_progress = qBound(0.0, progress, 1.0);
    update();
}

void HoldRing::paintEvent(QPaintEvent*)
{
    FailureBoundary::run([this] { paintRing(); });
}

void HoldRing::paintRing()
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int pen = thickness();
    const QRectF circle = QRectF(rect()).adjusted(pen / 2.0, pen / 2.0, -pen / 2.0, -pen / 2.0);
    painter.setPen(QPen(QColor(0, 128, 255, 70), pen));
    painter.drawEllipse(circle);
    // The door's own blue, over a pale track of it.
    painter.setPen(QPen(QColor(0, 128, 255), pen, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(circle, 90 * 16, -static_cast<int>(std::lround(m_progress * 360 * 16)));
}
