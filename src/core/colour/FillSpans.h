#pragma once

#include "core/colour/FloodFill.h"

#include <QImage>
#include <QtGlobal>

#include <array>
#include <vector>

// The pixels one fill painted, kept as the row runs it reported (row, left and
// right end), in the order the fill found them: they are not sorted or merged,
// and at most copied once, so keeping a fill costs little next to the fill. A whole-page fill of a
// 4096-pixel-high page keeps 48 KiB instead of the 64 MiB of its pixels; the
// one or two runs of a small fill stay inside the object, with no allocation.
class FillSpans {
public:
    // Keeps the runs. A list mostly full is taken over instead of copied (a big
    // fill's runs are then never copied at all) and `painted` is left with a
    // buffer of the same size for the next fill. Small and called once a fill,
    // so it stays in the header, where it can be inlined.
    void take(std::vector<PaintedSpan>& painted)
    {
        m_count = painted.size();
        if (m_count <= kInline) {
            // Element by element: a library copy call would cost more than the copy.
            for (std::size_t i = 0; i < m_count; ++i)
                m_few[i] = painted[i];
            if (m_many.capacity() != 0)
                std::vector<PaintedSpan>().swap(m_many);
        } else if (m_count >= painted.capacity() / 4 * 3) {
            m_many.swap(painted);
            std::vector<PaintedSpan>().swap(painted);
            painted.reserve(m_count);
        } else {
            m_many.assign(painted.begin(), painted.end());
        }
    }

    // Lets go of every run and of the memory they held.
    void release()
    {
        m_count = 0;
        if (m_many.capacity() != 0)
            std::vector<PaintedSpan>().swap(m_many);
    }

    // Paints every run with `colour`. The image must be in Format_RGB32 and at
    // least as large as the picture the runs came from.
    void paint(QImage& image, QRgb colour) const;

    // The memory held, in bytes.
    qsizetype bytes() const
    {
        return static_cast<qsizetype>(sizeof(FillSpans)) +
               static_cast<qsizetype>(m_many.capacity() * sizeof(PaintedSpan));
    }

private:
    static constexpr std::size_t kInline = 2;

    const PaintedSpan* begin() const { return m_count <= kInline ? m_few.data() : m_many.data(); }

    std::array<PaintedSpan, kInline> m_few{};
    std::size_t m_count = 0;
    std::vector<PaintedSpan> m_many;
};
