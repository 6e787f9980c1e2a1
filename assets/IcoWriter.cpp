#include "IcoWriter.h"

#include "LittleEndian.h"
#include "OutputFile.h"

#include <stdexcept>

void IcoWriter::write(const QString& path, const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    if (w > 255 || h > 255) {
        throw std::runtime_error("icon too large");
    }
    const int colourStride = ((w * 24 + 31) / 32) * 4;
    const int maskStride = ((w + 31) / 32) * 4;
    const int imageSize = (colourStride + maskStride) * h;

    LittleEndian out;
    out.u16(0);
    out.u16(1); // icon
    out.u16(1); // one image
    out.u8(quint8(w));
    out.u8(quint8(h));
    out.u8(0); // no palette
    out.u8(0);
    out.u16(1);
    out.u16(24);
    out.u32(quint32(40 + imageSize));
    out.u32(22);

    out.u32(40);
    out.u32(quint32(w));
    out.u32(quint32(2 * h)); // colour bits and mask together
    out.u16(1);
    out.u16(24);
    out.u32(0);
    out.u32(quint32(imageSize));
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(0);

    const auto transparent = [&](int x, int y) { return qAlpha(argb.pixel(x, y)) < 128; };
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            // Transparent pixels are black so that the AND/XOR pair leaves the screen as is.
            const QRgb c = transparent(x, y) ? qRgb(0, 0, 0) : argb.pixel(x, y);
            out.u8(quint8(qBlue(c)));
            out.u8(quint8(qGreen(c)));
            out.u8(quint8(qRed(c)));
        }
        out.zeros(colourStride - w * 3);
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (transparent(x, y)) {
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.bytes(row);
    }
    OutputFile::write(path, out.data());
}
