#include "colour/FillSpans.h"

#include <algorithm>
#include <limits>

FillSpans::FillSpans(const std::vector<PaintedSpan>& painted)
{
    if (painted.empty())
        return;
    int top = std::numeric_limits<int>::max();
    int bottom = std::numeric_limits<int>::min();
    for (const PaintedSpan& s : painted) {
        top = std::min(top, s.y);
        bottom = std::max(bottom, s.y);
    }
    m_top = top;
    const auto rows = static_cast<std::size_t>(bottom - top + 1);
    m_rowStart.assign(rows + 1, 0);
    for (const PaintedSpan& s : painted)
        ++m_rowStart[static_cast<std::size_t>(s.y - top) + 1];
    for (std::size_t r = 1; r <= rows; ++r)
        m_rowStart[r] += m_rowStart[r - 1];
    // Each row's next free slot; the last entry already holds the total.
    std::vector<quint32> next(m_rowStart.begin(), m_rowStart.end() - 1);
    m_runs.resize(painted.size());
    for (const PaintedSpan& s : painted)
        m_runs[next[static_cast<std::size_t>(s.y - top)]++] = {s.left, s.right - s.left + 1};
}

void FillSpans::paint(QImage& image, QRgb colour) const
{
    const std::size_t rows = m_rowStart.empty() ? 0 : m_rowStart.size() - 1;
    uchar* const base = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (std::size_t r = 0; r < rows; ++r) {
        auto* line = reinterpret_cast<QRgb*>(base + (m_top + static_cast<qsizetype>(r)) * stride);
        for (quint32 k = m_rowStart[r]; k < m_rowStart[r + 1]; ++k)
            std::fill_n(line + m_runs[k].left, m_runs[k].length, colour);
    }
}

qsizetype FillSpans::bytes() const
{
    return static_cast<qsizetype>(sizeof(FillSpans) + m_rowStart.capacity() * sizeof(quint32) +
                                  m_runs.capacity() * sizeof(Run));
}
