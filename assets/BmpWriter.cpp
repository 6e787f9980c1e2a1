#include "BmpWriter.h"

#include "LittleEndian.h"
#include "OutputFile.h"
#include "gif/ColourTable.h"

namespace {

constexpr int pixelsPerMetre = 3780; // 96 dots per inch

QByteArray fileAndInfoHeader(const QImage& image, int bitsPerPixel, int tableEntries)
{
    const int stride = ((image.width() * bitsPerPixel + 31) / 32) * 4;
    const int offset = 14 + 40 + 4 * tableEntries;
    const int imageSize = stride * image.height();
    LittleEndian out;
    out.bytes("BM");
    out.u32(quint32(offset + imageSize));
    out.u32(0);
    out.u32(quint32(offset));
    out.u32(40);
    out.u32(quint32(image.width()));
    out.u32(quint32(image.height())); // positive: rows stored bottom-up
    out.u16(1);
    out.u16(quint16(bitsPerPixel));
    out.u32(0); // BI_RGB
    out.u32(quint32(imageSize));
    out.u32(pixelsPerMetre);
    out.u32(pixelsPerMetre);
    out.u32(quint32(tableEntries));
    out.u32(0);
    return out.data();
}

} // namespace

void BmpWriter::writeIndexed8(const QString& path, const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    ColourTable table;
    table.addImage(rgb);
    LittleEndian out;
    out.bytes(fileAndInfoHeader(rgb, 8, 256));
    for (QRgb c : table.padded(256)) {
        out.u8(quint8(qBlue(c)));
        out.u8(quint8(qGreen(c)));
        out.u8(quint8(qRed(c)));
        out.u8(0);
    }
    const int padding = (4 - rgb.width() % 4) % 4;
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            out.u8(quint8(table.indexOf(line[x])));
        }
        out.zeros(padding);
    }
    OutputFile::write(path, out.data());
}

void BmpWriter::writeRgb24(const QString& path, const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    LittleEndian out;
    out.bytes(fileAndInfoHeader(rgb, 24, 0));
    const int padding = (4 - (rgb.width() * 3) % 4) % 4;
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            out.u8(quint8(qBlue(line[x])));
            out.u8(quint8(qGreen(line[x])));
            out.u8(quint8(qRed(line[x])));
        }
        out.zeros(padding);
    }
    OutputFile::write(path, out.data());
}
