#include "ui/TwipGeometry.h"

#include "core/geometry/Units.h"

#include <QWidget>

void TwipGeometry::place(QWidget* control, const QRectF& twips)
{
    m_twips.insert(control, twips);
    control->setGeometry(widgetPixels(twips.left()), widgetPixels(twips.top()),
                         widgetPixels(twips.width()), widgetPixels(twips.height()));
}
