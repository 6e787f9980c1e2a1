#include "core/book/PictureLoader.h"

#include "core/book/Failure.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

namespace {

constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;

quint16 le16(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

qint32 le32(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<qint32>(data.constData() + at);
}

// Walks a GIF's blocks up to the end of its first picture's data. The decoder
// turns a cut-off file into a picture with its lower part black and reports
// nothing, so a truncated page is caught here instead.
bool gifFirstPictureIsComplete(const QByteArray& data)
{
    const qsizetype size = data.size();
    qsizetype at = 13;
    if (size < at)
        return false;
    const auto colourTable = [](quint8 flags) -> qsizetype {
        return (flags & 0x80) ? 3 * (qsizetype(2) << (flags & 0x07)) : 0;
    };
    const auto skipSubBlocks = [&](qsizetype& pos) {
        while (pos < size) {
            const quint8 length = static_cast<quint8>(data[pos]);
            pos += 1 + length;
            if (length == 0)
                return pos <= size;
        }
        return false;
    };
    at += colourTable(static_cast<quint8>(data[10]));
    while (at < size) {
        const quint8 introducer = static_cast<quint8>(data[at]);
        if (introducer == 0x21) { // extension: label, then sub-blocks
            at += 2;
            if (!skipSubBlocks(at))
                return false;
        } else if (introducer == 0x2C) { // picture: descriptor, table, code size, data
            if (at + 10 > size)
                return false;
            at += 10 + colourTable(static_cast<quint8>(data[at + 9])) + 1;
            return skipSubBlocks(at);
        } else {
            return false; // the trailer or garbage before any picture
        }
    }
    return false;
}

// The size a BMP header claims, so that a huge claim is refused before any
// pixel memory is taken (the decoder does not report it).
QSize bmpClaimedSize(const QByteArray& data)
{
    if (data.size() < 26)
        return {};
    if (le32(data, 14) == 12)
        return {le16(data, 18), le16(data, 20)};
    const qint64 width = qAbs(qint64(le32(data, 18)));
    const qint64 height = qAbs(qint64(le32(data, 22)));
    return {int(qMin<qint64>(width, INT_MAX)), int(qMin<qint64>(height, INT_MAX))};
}

// Whether an uncompressed BMP holds all the rows its header promises. The
// decoder shows a cut-off file with its missing rows black and reports
// nothing, which is what a copy cut short by a pulled-out stick looks like.
bool bmpPixelsAreComplete(const QByteArray& data, QSize claimed)
{
    if (data.size() < 34 || le32(data, 14) < 40)
        return true; // old headers: left to the decoder
    const qint32 compression = le32(data, 30);
    if (compression != 0 && compression != 3)
        return true; // run-length data has no fixed size
    const qint64 bitsPerPixel = le16(data, 28);
    const qint64 stride = (claimed.width() * bitsPerPixel + 31) / 32 * 4;
    const qint64 offset = quint32(le32(data, 10));
    return data.size() >= offset + stride * claimed.height();
}

} // namespace

QImage PictureLoader::overWhite(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage paper(image.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, image);
    return paper;
}

namespace {

// 100004000 as "100 004 000": a long number a grown-up can read at a glance.
QString plainNumber(qint64 number)
{
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return digits;
}

} // namespace

void PictureLoader::checkSize(const QString& path, QSize size, qint64 maxPixels)
{
    if (!size.isValid() || qint64(size.width()) * size.height() <= maxPixels)
        return;
    throw Failure(
        path, QStringLiteral("El dibujo es demasiado grande: %1 × %2 son %3 puntos; "
                             "el máximo es %4.")
                  .arg(size.width())
                  .arg(size.height())
                  .arg(plainNumber(qint64(size.width()) * size.height()), plainNumber(maxPixels)));
}

namespace {

// The whole file, read once: its header is checked before a decoder sees it.
QByteArray readDrawingFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw Failure(path, QStringLiteral("No encuentro el dibujo: el archivo no existe."));
    if (!info.isFile())
        throw Failure(path, QStringLiteral("No puedo abrir el dibujo: no es un archivo."));
    if (info.size() > kMaxFileBytes)
        throw Failure(path, QStringLiteral("El archivo del dibujo es demasiado grande."));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(path, QStringLiteral("No puedo abrir el dibujo: no tengo permiso para "
                                           "leerlo o el disco no responde."));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(path, QStringLiteral("No puedo leer el dibujo: el disco no responde."));
    if (data.isEmpty())
        throw Failure(path, QStringLiteral("No puedo leer el dibujo: el archivo está vacío."));
    return data;
}

} // namespace

QImage PictureLoader::load(const QString& path)
{
    const QByteArray data = readDrawingFile(path);
    const QString damaged =
        QStringLiteral("No puedo leer el dibujo: el archivo está incompleto o dañado.");
    const bool isGif = data.startsWith("GIF87a") || data.startsWith("GIF89a");
    if (isGif && !gifFirstPictureIsComplete(data))
        throw Failure(path, damaged);
    if (data.startsWith("BM")) {
        const QSize claimed = bmpClaimedSize(data);
        checkSize(path, claimed);
        if (!bmpPixelsAreComplete(data, claimed))
            throw Failure(path, damaged);
    }

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    checkSize(path, reader.size());
    QImage image = reader.read();
    if (image.isNull())
        throw Failure(path, QStringLiteral("No puedo leer el dibujo: el archivo está dañado o "
                                           "no es un dibujo GIF ni BMP."));
    return overWhite(image);
}
