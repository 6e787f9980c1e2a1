#include "import/GifPageWriter.h"

#include "core/book/Failure.h"
#include "gif/GifWriter.h"

#include <stdexcept>

QByteArray GifPageWriter::encode(const QImage& page)
{
    GifWriter gif;
    gif.addFrame(page);
    try {
        return gif.encode();
    } catch (const std::runtime_error& e) {
        throw Failure(QString(), QStringLiteral("No puedo escribir el dibujo en GIF (%1).")
                                     .arg(QString::fromLocal8Bit(e.what())));
    }
}
