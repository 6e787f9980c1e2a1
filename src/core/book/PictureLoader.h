#pragma once

#include <QImage>
#include <QString>

// Loads a page picture (GIF or BMP) as a Format_RGB32 image, or throws a
// Failure that names the file and says why in words a parent understands.
class PictureLoader {
public:
    // Larger pictures are refused before any pixel memory is taken.
    static constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

    static QImage load(const QString& path);

    // Throws the Failure that says the picture is too large, with its size,
    // when it has more than `maxPixels`.
    static void checkSize(const QString& path, QSize size, qint64 maxPixels = kMaxPixels);

    // A picture's transparent parts are the paper: laid over white, they look
    // white, fill as white and are saved as white, instead of showing
    // whatever colour the file stores under them. In Format_RGB32.
    static QImage overWhite(const QImage& image);
};
