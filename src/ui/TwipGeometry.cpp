#include "ui/TwipGeometry.h"

#include <QWidget>

void TwipGeometry::place(QWidget* control, const QRectF& twips)
{
    m_twips.insert(control, twips);
    control->setGeometry(m_zoom.widgetPixels(twips.left()), m_zoom.widgetPixels(twips.top()),
                         m_zoom.widgetPixels(twips.width()), m_zoom.widgetPixels(twips.height()));
}
