#pragma once

#include <QImage>
#include <QString>

// A one-image Windows icon, 24 bits per pixel with a 1-bit transparency mask.
// Pixels of the image with alpha below 128 are transparent.
class IcoWriter {
public:
    static void write(const QString& path, const QImage& image);
};
