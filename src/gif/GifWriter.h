#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// Encodes a GIF89a with one global colour table, full-size frames left in
// place, no transparency, and (for more than one frame) an endless Netscape
// loop. The shipped pictures and the pages added from outside drawings are
// both written here.
class GifWriter {
public:
    explicit GifWriter(int minimumTableSize = 2) : m_minimumTableSize(minimumTableSize) {}

    // delay in hundredths of a second; a frame of any format, at most 256
    // colours in all frames together
    void addFrame(const QImage& frame, int delay = 0);
    // Throws std::runtime_error with giflib's reason when it cannot encode.
    QByteArray encode() const;

private:
    struct Frame {
        QImage image;
        int delay = 0;
    };
    int m_minimumTableSize = 2;
    QList<Frame> m_frames;
};
