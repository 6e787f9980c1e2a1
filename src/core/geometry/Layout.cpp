#include "geometry/Layout.h"

#include "geometry/Units.h"

Layout Layout::compute(double sw, double sh, const Sizes& s)
{
    Layout l;
    l.margin = floorToInt((sw - kSwatchCount * s.swatchWidth) / 2);

    const double swatchTop = sh - (kSwatchHeight + 25);
    double left = static_cast<double>(l.margin);
    for (QRectF& swatch : l.picture2) {
        swatch = QRectF(left, swatchTop, s.swatchWidth, kSwatchHeight);
        left += s.swatchWidth;
    }
    const QRectF& first = l.picture2[0];

    const double buttonTop = first.top() + first.height() - s.command4Height;
    l.command4 =
        QRectF(first.left() - s.command4Width - 25, buttonTop, s.command4Width, s.command4Height);
    // Offset by Command4's width, which is also what sets it beside Command4.
    l.command3 = QRectF(l.command4.left() - s.command4Width, l.command4.top(), s.command3Width,
                        s.command3Height);
    l.picture3 = QRectF(first.left(), l.command4.top(), s.picture3Width, s.picture3Height);
    l.command1 = QRectF(l.picture3.left() + l.picture3.width() + 25, l.picture3.top(),
                        s.command1Width, s.command1Height);
    l.command2 = QRectF(l.command1.left() + l.command1.width() + 25, l.command1.top(),
                        s.command2Width, s.command2Height);
    l.picture1 = QRectF((sw - s.picture1Width) / 2, (l.picture3.top() - s.picture1Height) / 2,
                        s.picture1Width, s.picture1Height);
    l.saltarin1 = QRectF(l.picture1.left() + l.picture1.width() + 100, l.picture1.top(),
                         s.saltarinWidth, s.saltarinHeight);
    return l;
}
