

#include "colour/FloodFill.h"

#include "ui/Units.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Pixel = std::uint32_t;

// Qt keeps an RGB32 pixel as 0xFFRRGGBB; only the 24 colour bits take part in a match.
constexpr Pixel kColourBits = 0x00FFFFFFu;

// How many rows beyond the next one are fetched early (see prefetchRowsAhead).
constexpr int kRowsAhead = 4;

// A run of pixels on row y, from left to right inclusive, still to be examined.
// Its parent row, already painted over the whole run, is y - dy.
struct Span {
    int left = 0;
    int right = 0;
    int y = 0;
    int dy = 0;
};

inline bool matches(Pixel p, Pixel target)
{
    return (p & kColourBits) == target;
}

// Paints from x rightwards while pixels match, stopping at end; returns the first
// x not painted. Narrow runs are the common case in busy pictures, so single pixels
// go first up to a 32-byte boundary; then whole aligned blocks, which never straddle
// a cache line, are read and written in one pass.
inline int paintRight(Pixel* row, int x, int end, Pixel target, Pixel paint)
{
#if defined(__SSE2__)
    while (x < end && (reinterpret_cast<std::uintptr_t>(row + x) & 31u) != 0) {
        if (!matches(row[x], target)) {
            return x;
        }
        row[x++] = paint;
    }
    const __m128i bits = _mm_set1_epi32(static_cast<int>(kColourBits));
    const __m128i want = _mm_set1_epi32(static_cast<int>(target));
    const __m128i fill = _mm_set1_epi32(static_cast<int>(paint));
    while (x + 8 <= end) {
        auto* p = reinterpret_cast<__m128i*>(row + x);
        const __m128i a = _mm_cmpeq_epi32(_mm_and_si128(_mm_load_si128(p), bits), want);
        const __m128i b = _mm_cmpeq_epi32(_mm_and_si128(_mm_load_si128(p + 1), bits), want);
        if (_mm_movemask_epi8(_mm_and_si128(a, b)) != 0xFFFF) {
            break;
        }
        _mm_store_si128(p, fill);
        _mm_store_si128(p + 1, fill);
        x += 8;
    }
#endif
    while (x < end && matches(row[x], target)) {
        row[x++] = paint;
    }
    return x;
}

// The first x in [x, end) whose pixel matches, or end.
inline int skipRight(const Pixel* row, int x, int end, Pixel target)
{
    while (x < end && !matches(row[x], target)) {
        ++x;
    }
    return x;
}

// Paints leftwards from x - 1 while pixels match; returns the leftmost painted x
// (x itself when nothing matched).
inline int paintLeft(Pixel* row, int x, Pixel target, Pixel paint)
{
    while (x > 0 && matches(row[x - 1], target)) {
        row[--x] = paint;
    }
    return x;
}

// One stack per thread, kept between fills so that a press allocates nothing
// once the stack has grown to the pictures it meets.
std::vector<Span>& spanStack()
{
    thread_local std::vector<Span> stack = [] {
        std::vector<Span> s;
        s.reserve(4096);
        return s;
    }();
    stack.clear();
    return stack;
}

} // namespace

int pressToPixel(float v)
{
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (std::isnan(v)) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(roundHalfEven(std::clamp(static_cast<double>(v), lowest, highest)));
}

ColorRef pixelColour(const QImage& image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) {
        return kInvalidColour;
    }
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32) {
        return fromQRgb(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]);
    }
    return fromQRgb(image.pixel(x, y));
}

FillResult floodFill(QImage& image, int x, int y, ColorRef fillColour, PaintedArea* painted)
{
    const ColorRef targetColour = pixelColour(image, x, y);
    const Pixel paint = toQRgb(fillColour);
    if (targetColour == kInvalidColour || toQRgb(targetColour) == paint) {
        return {};
    }
    if (image.format() != QImage::Format_RGB32) {
        image.convertTo(QImage::Format_RGB32);
    }

    const int width = image.width();
    const int height = image.height();
    const qsizetype stride = image.bytesPerLine();
    uchar* const base = image.bits();
    const auto rowAt = [base, stride](int row) {
        return reinterpret_cast<Pixel*>(base + static_cast<qsizetype>(row) * stride);
    };
    const Pixel target = toQRgb(targetColour) & kColourBits;
    std::vector<PaintedSpan>* const spans = painted ? &painted->spans : nullptr;
    if (painted) {
        painted->replaced = target;
    }

    // Span fill: each popped run is painted and extended sideways, its children go on
    // the row beyond, and only the parts that stick out past the parent are looked at
    // again on the parent's row. Painted pixels no longer match, so nothing is painted twice.
    std::vector<Span>& stack = spanStack();
    const auto push = [&stack, height](int left, int right, int row, int dy) {
        if (row >= 0 && row < height) {
            stack.push_back({left, right, row, dy});
        }
    };
    // A narrow corridor is walked one row at a time, each row on its own cache line
    // that is needed at once; asking for the next few rows early hides that wait.
    const auto prefetchRowsAhead = [&rowAt, height](const Span& span) {
#if defined(__GNUC__)
        for (int k = 2; k <= kRowsAhead + 1; ++k) {
            const int ahead = span.y + k * span.dy;
            if (ahead >= 0 && ahead < height) {
                __builtin_prefetch(rowAt(ahead) + span.left);
            }
        }
#else
        (void)rowAt;
        (void)height;
        (void)span;
#endif
    };

    // Bounds and count of the painted runs, gathered as they are painted.
    int left = x, right = x, top = y, bottom = y;
    qint64 count = 0;
    const auto paintedRun = [&](int from, int to, int row) {
        left = std::min(left, from);
        right = std::max(right, to);
        top = std::min(top, row);
        bottom = std::max(bottom, row);
        count += to - from + 1;
        if (spans) {
            spans->push_back({row, from, to});
        }
    };

    push(x, x, y, 1);
    push(x, x, y - 1, -1);

    while (!stack.empty()) {
        const Span span = stack.back();
        stack.pop_back();
        Pixel* const row = rowAt(span.y);
        prefetchRowsAhead(span);
        int x1 = span.left;
        int start = x1;
        if (matches(row[x1], target)) {
            start = paintLeft(row, x1, target, paint);
            if (start < x1) {
                push(start, x1 - 1, span.y - span.dy, -span.dy);
            }
        }
        while (x1 <= span.right) {
            x1 = paintRight(row, x1, width, target, paint);
            if (x1 > start) {
                paintedRun(start, x1 - 1, span.y);
                push(start, x1 - 1, span.y + span.dy, span.dy);
            }
            if (x1 - 1 > span.right) {
                push(span.right + 1, x1 - 1, span.y - span.dy, -span.dy);
            }
            x1 = skipRight(row, x1 + 1, span.right + 1, target);
            start = x1;
        }
    }
    return {QRect(QPoint(left, top), QPoint(right, bottom)), count};
}
