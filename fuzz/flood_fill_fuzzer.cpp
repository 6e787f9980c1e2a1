// The fill on small pictures made from the bytes, against a plain breadth-first
// fill: the same pixels painted, the same answer about whether any changed.

#include "core/colour/FloodFill.h"
#include "core/colour/ReferenceFill.h"

#include <QImage>
#include <QRect>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kColourBits = 0x00FFFFFFu;

// Reads the input a byte at a time; zeros once it runs out.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t next() { return m_at < m_size ? m_data[m_at++] : 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

void check(bool condition, const char* what, int x = -1, int y = -1)
{
    if (!condition) {
        std::fprintf(stderr, "fill differs from the reference: %s at (%d, %d)\n", what, x, y);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteReader in(data, size);
    const int width = 1 + in.next() % 32;
    const int height = 1 + in.next() % 32;
    // Presses may fall a little outside the picture too.
    const int x = static_cast<int>(in.next() % (width + 4)) - 2;
    const int y = static_cast<int>(in.next() % (height + 4)) - 2;
    const std::uint8_t options = in.next();

    // A few colours, so that areas of one colour form; the unused top byte of
    // a pixel is set freely, as the fill must ignore it.
    std::uint32_t palette[4];
    for (std::uint32_t& colour : palette)
        colour = (std::uint32_t(in.next()) << 16) | (std::uint32_t(in.next()) << 8) | in.next();
    const ColorRef fill = in.next() % 4 == 0
                              ? rgbColour(qRed(palette[0]), qGreen(palette[0]), qBlue(palette[0]))
                              : rgbColour(in.next(), in.next(), in.next());

    QImage image(width, height, QImage::Format_RGB32);
    std::vector<std::uint32_t> expected(static_cast<std::size_t>(width * height));
    for (int py = 0; py < height; ++py) {
        auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(py));
        for (int px = 0; px < width; ++px) {
            const std::uint8_t b = in.next();
            const std::uint32_t top = (options & 1) ? std::uint32_t(b & 0xF0) << 24 : 0xFF000000u;
            row[px] = top | palette[b & 3];
            expected[static_cast<std::size_t>(py * width + px)] = palette[b & 3];
        }
    }
    // Now and then the picture comes in another format, to be converted first.
    if ((options & 6) == 2)
        image = image.convertToFormat(QImage::Format_RGB888);
    else if ((options & 6) == 4)
        image = image.convertToFormat(QImage::Format_ARGB32);

    const std::vector<std::uint32_t> original = expected;
    const bool expectedChange =
        referenceFill(expected, width, height, x, y, toQRgb(fill) & kColourBits);
    const QImage before = image;
    const FillResult result = floodFill(image, x, y, fill);
    const bool changed = static_cast<bool>(result);
    check(changed == expectedChange, "answer about a change");
    // The reported rectangle and count are those of the pixels the reference changed.
    QRect changedRect;
    qint64 changedCount = 0;
    for (std::size_t i = 0; i < original.size(); ++i) {
        if (original[i] != expected[i]) {
            changedRect |= QRect(static_cast<int>(i) % width, static_cast<int>(i) / width, 1, 1);
            ++changedCount;
        }
    }
    check(result.changed == changedRect && result.painted == changedCount, "changed rectangle");
    check(image.size() == QSize(width, height), "picture size");
    if (!changed) {
        // Nothing painted: the picture is the one given (in any format).
        for (int py = 0; py < height; ++py)
            for (int px = 0; px < width; ++px)
                check((image.pixel(px, py) & kColourBits) == (before.pixel(px, py) & kColourBits),
                      "pixel changed though the fill says none did", px, py);
        return 0;
    }
    check(image.format() == QImage::Format_RGB32, "picture format after painting");
    for (int py = 0; py < height; ++py) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(py));
        for (int px = 0; px < width; ++px)
            check((row[px] & kColourBits) == expected[static_cast<std::size_t>(py * width + px)],
                  "pixel", px, py);
    }
    return 0;
}
