#pragma once

#include <QImage>
#include <QList>
#include <QString>

// Writes a GIF89a with one global colour table, full-size frames left in place, no
// transparency, and (for more than one frame) an endless Netscape loop.
class GifWriter {
public:
    explicit GifWriter(int minimumTableSize = 2) : m_minimumTableSize(minimumTableSize) {}

    // delay in hundredths of a second
    void addFrame(const QImage& frame, int delay = 0);
    void write(const QString& path) const;

private:
    struct Frame {
        QImage image;
        int delay = 0;
    };
    int m_minimumTableSize = 2;
    QList<Frame> m_frames;
};
