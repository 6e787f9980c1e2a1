#include "import/GifPageWriter.h"

#include "core/book/Failure.h"

#include <gif_lib.h>
#include <vector>

namespace {

int appendTo(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

[[noreturn]] void encoderFailed(int error)
{
    throw Failure(QString(), QStringLiteral("No puedo escribir el dibujo en GIF (%1).")
                                 .arg(QString::fromLatin1(GifErrorString(error))));
}

} // namespace

QByteArray GifPageWriter::encode(const QImage& page)
{
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendTo, &error);
    if (!gif)
        encoderFailed(error);
    const GifColorType colours[2] = {{0, 0, 0}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    EGifSetGifVersion(gif, true);
    bool ok = map && EGifPutScreenDesc(gif, page.width(), page.height(), 1, 1, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, page.width(), page.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(size_t(page.width()));
    for (int y = 0; ok && y < page.height(); ++y) {
        const uchar* grey = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x)
            line[size_t(x)] = grey[x] ? 1 : 0;
        ok = EGifPutLine(gif, line.data(), page.width()) == GIF_OK;
    }
    if (!ok)
        error = gif->Error;
    GifFreeMapObject(map);
    int closeError = 0;
    if (EGifCloseFile(gif, &closeError) != GIF_OK && ok) {
        ok = false;
        error = closeError;
    }
    if (!ok)
        encoderFailed(error);
    return bytes;
}
