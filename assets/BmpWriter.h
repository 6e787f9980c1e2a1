#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Uncompressed Windows BMP files with an exact bit depth; a full 256-entry colour table
// for 8 bits per pixel, which a general-purpose encoder does not promise.
class BmpWriter {
public:
    static void writeIndexed8(const QString& path, const QImage& image);
    static void writeRgb24(const QString& path, const QImage& image);
};
