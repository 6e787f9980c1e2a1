#pragma once

#include "core/geometry/DisplayZoom.h"

#include <QHash>
#include <QRectF>

class QWidget;

// Control positions and sizes kept in twips, the unit the windows are laid
// out in; the widgets get their pixels through the one conversion rule.
class TwipGeometry {
public:
    explicit TwipGeometry(const DisplayZoom& zoom) : m_zoom(zoom) {}

    void place(QWidget* control, const QRectF& twips);
    QRectF of(const QWidget* control) const { return m_twips.value(control); }

private:
    DisplayZoom m_zoom;
    QHash<const QWidget*, QRectF> m_twips;
};
