#include "GifWriter.h"

#include "ColourTable.h"
#include "OutputFile.h"

#include <gif_lib.h>
#include <unistd.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

void check(int result, const QString& path)
{
    if (result != GIF_OK) {
        throw std::runtime_error("cannot write GIF " + path.toStdString());
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

void GifWriter::write(const QString& path) const
{
    if (m_frames.isEmpty()) {
        throw std::runtime_error("GIF without frames");
    }
    ColourTable table;
    for (const Frame& frame : m_frames) {
        table.addImage(frame.image);
    }
    int bits = 1;
    while ((1 << bits) < table.size() || (1 << bits) < m_minimumTableSize) {
        ++bits;
    }
    const QList<QRgb> colours = table.padded(1 << bits);
    std::vector<GifColorType> entries;
    for (QRgb c : colours) {
        entries.push_back({GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))});
    }
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(
        GifMakeMapObject(int(entries.size()), entries.data()), GifFreeMapObject);

    const int fd = OutputFile::open(path);
    int error = 0;
    GifFileType* gif = EGifOpenFileHandle(fd, &error);
    if (!gif) {
        ::close(fd);
        throw std::runtime_error("cannot start GIF " + path.toStdString());
    }
    const int width = m_frames.first().image.width();
    const int height = m_frames.first().image.height();
    try {
        EGifSetGifVersion(gif, true);
        check(EGifPutScreenDesc(gif, width, height, bits, 0, map.get()), path);
        if (m_frames.size() > 1) {
            static const GifByteType loopForever[3] = {1, 0, 0};
            check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE), path);
            check(EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0"), path);
            check(EGifPutExtensionBlock(gif, 3, loopForever), path);
            check(EGifPutExtensionTrailer(gif), path);
        }
        std::vector<GifPixelType> line(size_t(width), 0);
        for (const Frame& frame : m_frames) {
            GraphicsControlBlock control{};
            control.DisposalMode = DISPOSE_DO_NOT;
            control.UserInputFlag = false;
            control.DelayTime = frame.delay;
            control.TransparentColor = NO_TRANSPARENT_COLOR;
            GifByteType extension[4];
            EGifGCBToExtension(&control, extension);
            check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension), path);
            check(EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr), path);
            for (int y = 0; y < height; ++y) {
                const auto* pixels = reinterpret_cast<const QRgb*>(frame.image.constScanLine(y));
                for (int x = 0; x < width; ++x) {
                    line[size_t(x)] = GifPixelType(table.indexOf(pixels[x]));
                }
                check(EGifPutLine(gif, line.data(), width), path);
            }
        }
    } catch (...) {
        EGifCloseFile(gif, &error);
        throw;
    }
    if (EGifCloseFile(gif, &error) != GIF_OK) {
        throw std::runtime_error("cannot finish GIF " + path.toStdString());
    }
}
