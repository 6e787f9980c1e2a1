#pragma once

#include "colour/FloodFill.h"

#include <QImage>
#include <QtGlobal>

#include <vector>

// The pixels one fill painted, kept as runs grouped by row: for each row from the
// top to the bottom one touched, where its runs start in the run list, and for each
// run its left end and length. A whole-page fill of a 4096-pixel-high page costs
// some 48 KiB instead of the 64 MiB of its pixels.
class FillSpans {
public:
    FillSpans() = default;
    // Groups the runs a fill reported by row (a counting sort: linear in the runs).
    explicit FillSpans(const std::vector<PaintedSpan>& painted);

    // Paints every run with `colour`. The image must be in Format_RGB32 and at
    // least as large as the picture the runs came from.
    void paint(QImage& image, QRgb colour) const;

    bool isEmpty() const { return m_runs.empty(); }
    // The memory held, in bytes.
    qsizetype bytes() const;

private:
    struct Run {
        qint32 left = 0;
        qint32 length = 0;
    };

    int m_top = 0;
    std::vector<quint32> m_rowStart; // one more entry than rows: the end of the last
    std::vector<Run> m_runs;
};
