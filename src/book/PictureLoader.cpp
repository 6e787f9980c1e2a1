#include "book/PictureLoader.h"

#include "book/Failure.h"

#include <QFileInfo>
#include <QImageReader>

QImage PictureLoader::load(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw Failure(path, QStringLiteral("No encuentro el dibujo: el archivo no existe."));
    if (!info.isFile())
        throw Failure(path, QStringLiteral("No puedo abrir el dibujo: no es un archivo."));

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels)
        throw Failure(path, QStringLiteral("El dibujo es demasiado grande (%1 × %2 puntos).")
                                .arg(size.width())
                                .arg(size.height()));
    QImage image = reader.read();
    if (image.isNull())
        throw Failure(path,
                      QStringLiteral("No puedo leer el dibujo: %1.").arg(reader.errorString()));
    return image.convertToFormat(QImage::Format_RGB32);
}
