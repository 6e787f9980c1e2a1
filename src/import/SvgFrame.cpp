#include "import/SvgFrame.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

// A length as CSS pixels; 0 for a share of a size not known here (%) or
// anything unreadable.
double cssPixels(QStringView text)
{
    static const QRegularExpression length(
        QStringLiteral(R"(^\s*([+]?[0-9]*\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\s*([a-z%]*)\s*$)"));
    const QRegularExpressionMatch match = length.match(text.toString());
    if (!match.hasMatch())
        return 0;
    const double value = match.capturedView(1).toDouble();
    const QStringView unit = match.capturedView(2);
    struct Unit {
        const char* name;
        double pixels;
    };
    static const Unit units[] = {{"", 1},           {"px", 1},  {"pt", 96.0 / 72},
                                 {"pc", 16},        {"in", 96}, {"mm", 96 / 25.4},
                                 {"cm", 96 / 2.54}, {"em", 16}, {"ex", 8}};
    for (const Unit& u : units) {
        if (unit == QLatin1String(u.name))
            return value * u.pixels;
    }
    return 0;
}

} // namespace

SvgFrame SvgFrame::read(const QByteArray& document)
{
    SvgFrame frame;
    QXmlStreamReader xml(document);
    while (!xml.atEnd() && !xml.isStartElement())
        xml.readNext();
    if (!xml.isStartElement() || xml.name() != QLatin1String("svg"))
        return frame;
    const QXmlStreamAttributes attributes = xml.attributes();
    const double width = cssPixels(attributes.value(QLatin1String("width")));
    const double height = cssPixels(attributes.value(QLatin1String("height")));
    const QList<QStringView> box =
        attributes.value(QLatin1String("viewBox"))
            .split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (box.size() == 4)
        frame.viewBox =
            QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble());
    if (width > 0 && height > 0)
        frame.size = QSizeF(width, height);
    else if (!frame.viewBox.isEmpty() && (width > 0 || height > 0)) // one side: keep the shape
        frame.size = width > 0
                         ? QSizeF(width, width * frame.viewBox.height() / frame.viewBox.width())
                         : QSizeF(height * frame.viewBox.width() / frame.viewBox.height(), height);
    return frame;
}
