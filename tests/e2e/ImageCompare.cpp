#include "e2e/ImageCompare.h"

namespace ImageCompare {

bool sameColour(QRgb a, QRgb b)
{
    return (a | 0xff000000u) == (b | 0xff000000u);
}

QString rgbText(QRgb c)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

QString difference(const QImage& seen, const QImage& expected)
{
    if (seen.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(seen.width())
            .arg(seen.height())
            .arg(expected.width())
            .arg(expected.height());
    int count = 0;
    QString first;
    for (int y = 0; y < seen.height(); ++y) {
        for (int x = 0; x < seen.width(); ++x) {
            if (sameColour(seen.pixel(x, y), expected.pixel(x, y)))
                continue;
            if (count++ == 0)
                first = QStringLiteral("first at %1,%2: %3, expected %4")
                            .arg(x)
                            .arg(y)
                            .arg(rgbText(seen.pixel(x, y)), rgbText(expected.pixel(x, y)));
        }
    }
    return count == 0 ? QString() : QStringLiteral("%1 pixels differ, %2").arg(count).arg(first);
}

} // namespace ImageCompare
