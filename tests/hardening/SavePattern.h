#pragma once

#include <QImage>

// The pictures the crash test saves. Each one is fully determined by its page
// and generation, which it also carries in its top-left pixel, so a file read
// back can be compared with exactly the picture that was meant to be in it.
class SavePattern {
public:
    static constexpr int kWidth = 2000;
    static constexpr int kHeight = 2000;

    static QImage make(int page, int generation);

    // The generation a picture claims in its top-left pixel, or -1.
    static int generationOf(const QImage& image);
};
