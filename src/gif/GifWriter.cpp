#include "gif/GifWriter.h"

#include "gif/ColourTable.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(int error)
{
    const char* reason = GifErrorString(error); // none for a code it does not know
    throw std::runtime_error(reason ? reason : "giflib error " + std::to_string(error));
}

void check(int result, const GifFileType* gif)
{
    if (result != GIF_OK)
        fail(gif->Error);
}

int appendTo(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

bool isByteFormat(const QImage& image)
{
    return image.format() == QImage::Format_Grayscale8 || image.format() == QImage::Format_Indexed8;
}

// A frame's pixels as entries of the table. A frame of one byte a pixel (a
// page is one) goes through its 256 colours, never converted whole: that
// conversion would cost more than all the encoding.
class FramePixels {
public:
    explicit FramePixels(const QImage& image) : m_image(image)
    {
        if (!isByteFormat(image))
            return;
        m_colours = image.colorTable();
        if (image.format() == QImage::Format_Grayscale8)
            for (int grey = 0; grey < 256; ++grey)
                m_colours.append(qRgb(grey, grey, grey));
        m_colours.resize(256, qRgb(0, 0, 0));
    }

    void addColoursTo(ColourTable& table) const
    {
        std::array<bool, 256> seen{};
        for (int y = 0; y < m_image.height(); ++y) {
            const uchar* bytes = m_image.constScanLine(y);
            if (m_colours.isEmpty()) {
                table.addColours(reinterpret_cast<const QRgb*>(bytes), m_image.width());
                continue;
            }
            for (int x = 0; x < m_image.width(); ++x) {
                if (!seen[bytes[x]])
                    table.addColours(&m_colours[bytes[x]], 1);
                seen[bytes[x]] = true;
            }
        }
    }

    // The table's entries for row y; `table` holds every colour of the frame.
    void indexRow(int y, const ColourTable& table, std::vector<GifPixelType>& line)
    {
        const uchar* bytes = m_image.constScanLine(y);
        if (!m_colours.isEmpty()) {
            if (!m_indexed) {
                for (int b = 0; b < 256; ++b)
                    m_byteIndex[size_t(b)] = GifPixelType(std::max(0, table.indexOf(m_colours[b])));
                m_indexed = true;
            }
            for (size_t x = 0; x < line.size(); ++x)
                line[x] = m_byteIndex[bytes[x]];
            return;
        }
        const auto* pixels = reinterpret_cast<const QRgb*>(bytes);
        GifPixelType index = 0;
        for (size_t x = 0; x < line.size(); ++x) {
            // Looked up once for each stretch of one colour, not each pixel.
            if (x == 0 || pixels[x] != pixels[x - 1])
                index = GifPixelType(table.indexOf(pixels[x]));
            line[x] = index;
        }
    }

private:
    const QImage& m_image;
    QList<QRgb> m_colours;
    std::array<GifPixelType, 256> m_byteIndex{};
    bool m_indexed = false;
};

void putEndlessLoop(GifFileType* gif)
{
    static const GifByteType loopForever[3] = {1, 0, 0};
    check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE), gif);
    check(EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0"), gif);
    check(EGifPutExtensionBlock(gif, 3, loopForever), gif);
    check(EGifPutExtensionTrailer(gif), gif);
}

void putFrame(GifFileType* gif, const QImage& image, int delay, const ColourTable& table)
{
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension), gif);
    check(EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr), gif);
    std::vector<GifPixelType> line(size_t(image.width()), 0);
    FramePixels pixels(image);
    for (int y = 0; y < image.height(); ++y) {
        pixels.indexRow(y, table, line);
        check(EGifPutLine(gif, line.data(), image.width()), gif);
    }
}

} // namespace

void GifWriter::addFrame(const QImage& frame, int delay)
{
    if (!m_frames.isEmpty() && frame.size() != m_frames.first().image.size()) {
        throw std::runtime_error("GIF frames differ in size");
    }
    m_frames.append(
        {isByteFormat(frame) ? frame : frame.convertToFormat(QImage::Format_RGB32), delay});
}

QByteArray GifWriter::encode() const
{
    if (m_frames.isEmpty())
        throw std::runtime_error("GIF without frames");
    ColourTable table;
    for (const Frame& frame : m_frames)
        FramePixels(frame.image).addColoursTo(table);
    int bits = 1;
    while ((1 << bits) < table.size() || (1 << bits) < m_minimumTableSize)
        ++bits;
    std::vector<GifColorType> entries;
    for (QRgb c : table.padded(1 << bits))
        entries.push_back({GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))});
    const std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(
        GifMakeMapObject(int(entries.size()), entries.data()), GifFreeMapObject);

    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendTo, &error);
    if (!gif)
        fail(error);
    try {
        EGifSetGifVersion(gif, true);
        const QSize size = m_frames.first().image.size();
        check(EGifPutScreenDesc(gif, size.width(), size.height(), bits, 0, map.get()), gif);
        if (m_frames.size() > 1)
            putEndlessLoop(gif);
        for (const Frame& frame : m_frames)
            putFrame(gif, frame.image, frame.delay, table);
    } catch (...) {
        EGifCloseFile(gif, &error);
        throw;
    }
    if (EGifCloseFile(gif, &error) != GIF_OK)
        fail(error);
    return bytes;
}
