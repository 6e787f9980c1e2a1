#include "gif/ColourTable.h"

#include <stdexcept>

void ColourTable::addImage(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        addColours(reinterpret_cast<const QRgb*>(rgb.constScanLine(y)), rgb.width());
}

void ColourTable::addColours(const QRgb* colours, int count)
{
    QRgb previous = 0; // never a colour: every colour is made opaque here
    for (int i = 0; i < count; ++i) {
        const QRgb colour = colours[i] | 0xff000000u;
        // Pictures run in long stretches of one colour: those cost no lookup.
        if (colour == previous)
            continue;
        previous = colour;
        if (m_index.contains(colour))
            continue;
        if (m_colours.size() == 256)
            throw std::runtime_error("picture has more than 256 colours");
        m_index.insert(colour, int(m_colours.size()));
        m_colours.append(colour);
    }
}

int ColourTable::indexOf(QRgb colour) const
{
    return m_index.value(colour | 0xff000000u, -1);
}

QList<QRgb> ColourTable::padded(int entries) const
{
    if (entries < size()) {
        throw std::runtime_error("colour table too small for the picture");
    }
    QList<QRgb> table = m_colours;
    while (table.size() < entries) {
        table.append(qRgb(0, 0, 0));
    }
    return table;
}
