#include "gif/GifWriter.h"

#include "gif/ColourTable.h"

#include <gif_lib.h>

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
    for (int y = 0; y < image.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[size_t(x)] = GifPixelType(table.indexOf(pixels[x]));
        check(EGifPutLine(gif, line.data(), image.width()), gif);
    }
}

} // namespace

void GifWriter::addFrame(const QImage& frame, int delay)
{
    if (!m_frames.isEmpty() && frame.size() != m_frames.first().image.size()) {
        throw std::runtime_error("GIF frames differ in size");
    }
    m_frames.append({frame.convertToFormat(QImage::Format_RGB32), delay});
}

QByteArray GifWriter::encode() const
{
    if (m_frames.isEmpty())
        throw std::runtime_error("GIF without frames");
    ColourTable table;
    for (const Frame& frame : m_frames)
        table.addImage(frame.image);
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
