#pragma once

#include <QImage>
#include <QPainter>

// The pages of the sample book: black outlines on white that a 4-connected flood fill
// colours one area at a time.
class LineArt {
public:
    static constexpr int width = 640;
    static constexpr int height = 480;
    static constexpr int lineWidth = 3;
    // White areas smaller than this are specks left where lines cross: filled in black.
    static constexpr int smallestArea = 40;

    static QImage blankPage();
    // Aliased black pen of the line width, white brush: each shape covers what lies behind.
    static void setUp(QPainter& painter);
    // Pure black and white; no white pixels meeting only at a corner (a fill would stop
    // there although the eye sees one area); no tiny specks.
    static QImage finish(const QImage& drawn);
};
