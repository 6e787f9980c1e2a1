

#include "core/colour/FloodFill.h"

#include "core/rounding/Rounding.h"

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

// Pixels painted one by one at the start of a run before blocks are tried.
constexpr int kFirstSingly = 4;

// Labelling a whole picture costs about as much as popping one narrow span for
// every this many of its pixels.
constexpr qint64 kPixelsPerPop = 32;
// Spans painting fewer pixels than this on average count as narrow.
constexpr qint64 kNarrowSpan = 16;
// Labels kept for the next fill, at most (12 bytes each).
constexpr std::size_t kKeptRuns = std::size_t(1) << 20;

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
// x not painted. Narrow runs are the common case in busy pictures, so the first few
// pixels go one by one, then single pixels up to a 32-byte boundary; then whole
// aligned blocks, which never straddle a cache line, are read and written in one pass.
inline int paintRight(Pixel* row, int x, int end, Pixel target, Pixel paint)
{
    for (const int first = std::min(x + kFirstSingly, end); x < first; ++x) {
        if (!matches(row[x], target)) {
            return x;
        }
        row[x] = paint;
    }
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

#if defined(__SSE2__) && defined(__GNUC__)
constexpr bool kRowMasks = true;
#else
constexpr bool kRowMasks = false;
#endif

#if defined(__SSE2__) && defined(__GNUC__)
// Bit k set where pixel k of the 64 from `block` on matches the target.
inline std::uint64_t matchMask(const Pixel* block, Pixel target)
{
    const __m128i bits = _mm_set1_epi32(static_cast<int>(kColourBits));
    const __m128i want = _mm_set1_epi32(static_cast<int>(target));
    std::uint64_t mask = 0;
    for (int k = 0; k < 16; ++k) {
        const __m128i v =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + std::ptrdiff_t{4} * k));
        const __m128i same = _mm_cmpeq_epi32(_mm_and_si128(v, bits), want);
        mask |= static_cast<std::uint64_t>(_mm_movemask_ps(_mm_castsi128_ps(same))) << (4 * k);
    }
    return mask;
}
#endif

// Calls onRun(left, right) for every run of matching pixels on a row, left to right.
// Whole blocks of 64 pixels are compared at once into a bit mask whose changes
// from one bit to the next are the ends of the runs.
template <typename Emit> void forEachRun(const Pixel* row, int width, Pixel target, Emit&& onRun)
{
    int start = -1;
    int x = 0;
#if defined(__SSE2__) && defined(__GNUC__)
    for (; x + 64 <= width; x += 64) {
        const std::uint64_t mask = matchMask(row + x, target);
        std::uint64_t edges = mask ^ ((mask << 1) | (start >= 0 ? 1u : 0u));
        while (edges != 0) {
            const int at = x + __builtin_ctzll(edges);
            edges &= edges - 1;
            if (start < 0) {
                start = at;
            } else {
                onRun(start, at - 1);
                start = -1;
            }
        }
    }
#endif
    for (; x < width; ++x) {
        const bool in = matches(row[x], target);
        if (in && start < 0) {
            start = x;
        } else if (!in && start >= 0) {
            onRun(start, x - 1);
            start = -1;
        }
    }
    if (start >= 0) {
        onRun(start, width - 1);
    }
}

// A run of matching pixels and the area it belongs to: the index of an earlier run
// of the same area, or its own index for the first run of an area.
struct Run {
    int left = 0;
    int right = 0;
    int parent = 0;
};

// Every matching run of the picture, row after row, joined into areas wherever runs
// on neighbouring rows overlap. Kept per thread between fills, like the span stack.
struct Labelling {
    std::vector<int> rowStart; // first run of each row, and one past the last run
    std::vector<Run> runs;
    std::vector<char> reached;
};

Labelling& labelling()
{
    thread_local Labelling labels;
    return labels;
}

int rootOf(std::vector<Run>& runs, int i)
{
    while (runs[i].parent != i) {
        runs[i].parent = runs[runs[i].parent].parent;
        i = runs[i].parent;
    }
    return i;
}

// Labels every row; afterwards each run's parent is the first run of its area.
void labelRuns(const uchar* base, qsizetype stride, int width, int height, Pixel target,
               Labelling& labels)
{
    std::vector<Run>& runs = labels.runs;
    runs.clear();
    labels.rowStart.resize(static_cast<std::size_t>(height) + 1);
    int above = 0; // runs of the row above: [above, here)
    for (int y = 0; y < height; ++y) {
        const int here = static_cast<int>(runs.size());
        labels.rowStart[y] = here;
        int j = above;
        forEachRun(reinterpret_cast<const Pixel*>(base + y * stride), width, target,
                   [&](int left, int right) {
                       while (j < here && runs[j].right < left) {
                           ++j;
                       }
                       // Roots join towards the smaller index, so parents never point forward.
                       int root = static_cast<int>(runs.size());
                       for (int k = j; k < here && runs[k].left <= right; ++k) {
                           const int other = rootOf(runs, k);
                           if (other < root) {
                               if (root < static_cast<int>(runs.size())) {
                                   runs[root].parent = other;
                               }
                               root = other;
                           } else if (other > root) {
                               runs[other].parent = root;
                           }
                       }
                       runs.push_back({left, right, root});
                   });
        above = here;
    }
    labels.rowStart[height] = static_cast<int>(runs.size());
    // Parents point backwards only, so one pass in order leaves every run on its root.
    for (Run& run : runs) {
        run.parent = runs[run.parent].parent;
    }
}

// Paints, from the labelling, every area that a span left on the stack reaches: those
// areas hold exactly the pixels the span fill had still to paint, as every matching
// neighbour of a painted pixel lies in some span on the stack.
template <typename Painted>
void paintByLabels(uchar* base, qsizetype stride, int width, int height, Pixel target, Pixel paint,
                   const std::vector<Span>& stack, Painted&& paintedRun)
{
    Labelling& labels = labelling();
    labelRuns(base, stride, width, height, target, labels);
    std::vector<Run>& runs = labels.runs;
    labels.reached.assign(runs.size(), 0);
    for (const Span& span : stack) {
        const auto first = runs.begin() + labels.rowStart[span.y];
        const auto last = runs.begin() + labels.rowStart[span.y + 1];
        auto it = std::lower_bound(first, last, span.left,
                                   [](const Run& run, int x) { return run.right < x; });
        for (; it != last && it->left <= span.right; ++it) {
            labels.reached[it->parent] = 1;
        }
    }
    for (int y = 0; y < height; ++y) {
        Pixel* const row = reinterpret_cast<Pixel*>(base + y * stride);
        for (int i = labels.rowStart[y]; i < labels.rowStart[y + 1]; ++i) {
            const Run& run = runs[i];
            if (labels.reached[run.parent]) {
                std::fill(row + run.left, row + run.right + 1, paint);
                paintedRun(run.left, run.right, y);
            }
        }
    }
    // A picture of very many runs would otherwise keep their memory after the fill.
    if (runs.capacity() > kKeptRuns) {
        labels = Labelling();
    }
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

namespace {

// One fill on an RGB32 picture: the stack of spans still to look at, and the
// bounds and count of the runs painted so far.
class SpanFill {
public:
    SpanFill(QImage& image, Pixel target, Pixel paint, std::vector<PaintedSpan>* spans)
        : m_base(image.bits()), m_stride(image.bytesPerLine()), m_width(image.width()),
          m_height(image.height()), m_target(target), m_paint(paint), m_spans(spans),
          m_stack(spanStack())
    {
    }

    FillResult run(int x, int y);

private:
    Pixel* rowAt(int row) const
    {
        return reinterpret_cast<Pixel*>(m_base + static_cast<qsizetype>(row) * m_stride);
    }
    // A narrow span is looked at before it is pushed: one that lies on a wall is
    // not worth a push and a pop.
    void push(int left, int right, int row, int dy)
    {
        if (row < 0 || row >= m_height)
            return;
        if (right - left < kFirstSingly) {
            const Pixel* const pixels = rowAt(row);
            while (left <= right && !matches(pixels[left], m_target))
                ++left;
            if (left > right)
                return;
        }
        m_stack.push_back({left, right, row, dy});
    }
    void paintedRun(int from, int to, int row)
    {
        m_left = std::min(m_left, from);
        m_right = std::max(m_right, to);
        m_top = std::min(m_top, row);
        m_bottom = std::max(m_bottom, row);
        m_count += to - from + 1;
        if (m_spans)
            m_spans->push_back({row, from, to});
    }
    void fillSpan(const Span& span);

    uchar* const m_base;
    const qsizetype m_stride;
    const int m_width;
    const int m_height;
    const Pixel m_target;
    const Pixel m_paint;
    std::vector<PaintedSpan>* const m_spans;
    std::vector<Span>& m_stack;
    int m_left = 0, m_right = 0, m_top = 0, m_bottom = 0;
    qint64 m_count = 0;
};

// Span fill: each popped run is painted and extended sideways, its children go on
// the row beyond, and only the parts that stick out past the parent are looked at
// again on the parent's row. Painted pixels no longer match, so nothing is painted twice.
void SpanFill::fillSpan(const Span& span)
{
    Pixel* const row = rowAt(span.y);
    int x1 = span.left;
    int start = x1;
    if (matches(row[x1], m_target)) {
        start = paintLeft(row, x1, m_target, m_paint);
        if (start < x1)
            push(start, x1 - 1, span.y - span.dy, -span.dy);
    }
    while (x1 <= span.right) {
        x1 = paintRight(row, x1, m_width, m_target, m_paint);
        if (x1 > start) {
            paintedRun(start, x1 - 1, span.y);
            push(start, x1 - 1, span.y + span.dy, span.dy);
        }
        if (x1 - 1 > span.right)
            push(span.right + 1, x1 - 1, span.y - span.dy, -span.dy);
        x1 = skipRight(row, x1 + 1, span.right + 1, m_target);
        start = x1;
    }
}

FillResult SpanFill::run(int x, int y)
{
    m_left = m_right = x;
    m_top = m_bottom = y;
    push(x, x, y, 1);
    push(x, x, y - 1, -1);
    // Spans narrower than a few pixels (corridors, outlines) cost a cache miss each.
    // When a fill has popped as many of them as it would take to label the whole
    // picture row by row, it labels instead and paints the rest of the area from there.
    const qint64 labelAfter = std::max<qint64>(4096, qint64(m_width) * m_height / kPixelsPerPop);
    qint64 pops = 0;
    while (!m_stack.empty()) {
        if (kRowMasks && ++pops == labelAfter && m_count < pops * kNarrowSpan) {
            paintByLabels(m_base, m_stride, m_width, m_height, m_target, m_paint, m_stack,
                          [this](int from, int to, int row) { paintedRun(from, to, row); });
            break;
        }
        const Span span = m_stack.back();
        m_stack.pop_back();
        fillSpan(span);
    }
    return {QRect(QPoint(m_left, m_top), QPoint(m_right, m_bottom)), m_count};
}

} // namespace

FillResult floodFill(QImage& image, int x, int y, ColorRef fillColour, PaintedArea* painted)
{
    const ColorRef targetColour = pixelColour(image, x, y);
    const Pixel paint = toQRgb(fillColour);
    if (targetColour == kInvalidColour || toQRgb(targetColour) == paint)
        return {};
    if (image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);
    const Pixel target = toQRgb(targetColour) & kColourBits;
    if (painted)
        painted->replaced = target;
    return SpanFill(image, target, paint, painted ? &painted->spans : nullptr).run(x, y);
}
