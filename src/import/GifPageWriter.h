#pragma once

#include <QByteArray>
#include <QImage>

// Encodes a clean page as a two-colour GIF89a: black lines on white paper.
class GifPageWriter {
public:
    // `page` is Format_Grayscale8 with 0 for line and 255 for paper. Throws
    // Failure when the encoder fails.
    static QByteArray encode(const QImage& page);
};
