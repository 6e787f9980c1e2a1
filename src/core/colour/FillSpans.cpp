#include "core/colour/FillSpans.h"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Long runs (a whole page's rows) are written past the cache: the old pixels
// need not be read in first, which makes taking back a big fill quicker than
// the fill was.
void paintRun(QRgb* p, int length, QRgb colour)
{
#if defined(__SSE2__)
    constexpr int kLong = 1024;
    if (length >= kLong) {
        QRgb* const end = p + length;
        while ((reinterpret_cast<std::uintptr_t>(p) & 15u) != 0)
            *p++ = colour;
        const __m128i four = _mm_set1_epi32(static_cast<int>(colour));
        for (; p + 4 <= end; p += 4)
            _mm_stream_si128(reinterpret_cast<__m128i*>(p), four);
        std::fill(p, end, colour);
        return;
    }
#endif
    std::fill_n(p, length, colour);
}

} // namespace

void FillSpans::paint(QImage& image, QRgb colour) const
{
    uchar* const base = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const PaintedSpan* const first = begin();
    for (const PaintedSpan* s = first; s != first + m_count; ++s)
        paintRun(reinterpret_cast<QRgb*>(base + s->y * stride) + s->left, s->right - s->left + 1,
                 colour);
#if defined(__SSE2__)
    _mm_sfence();
#endif
}
