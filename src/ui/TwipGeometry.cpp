#include "ui/TwipGeometry.h"

#include "ui/Units.h"

#include <QWidget>

void TwipGeometry::place(QWidget* control, const QRectF& twips)
{
    m_twips.insert(control, twips);
    control->setGeometry(twipsToPixels(twips.left()), twipsToPixels(twips.top()),
                         twipsToPixels(twips.width()), twipsToPixels(twips.height()));
}
