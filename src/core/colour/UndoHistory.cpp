#include "core/colour/UndoHistory.h"

// A fill goes through release, dropOldest and push every time once the history
// is full; they come first so that they can be inlined into it.
inline void UndoHistory::release(Step& step)
{
    m_bytes -= step.bytes;
    step.spans.release();
    step.pictures.reset();
    step.bytes = 0;
}

inline void UndoHistory::dropOldest()
{
    release(at(0));
    if (++m_first == m_ring.size())
        m_first = 0;
    --m_count;
    --m_done;
}

inline UndoHistory::Step& UndoHistory::push()
{
    if (Q_UNLIKELY(m_count != m_done || m_ring.empty()))
        dropRedoSteps();
    if (m_count == m_maxSteps)
        dropOldest();
    m_done = ++m_count;
    return at(m_count - 1);
}

void UndoHistory::dropRedoSteps()
{
    if (m_ring.empty())
        m_ring.resize(m_maxSteps);
    while (m_count > m_done)
        release(at(--m_count));
}

FillResult UndoHistory::fill(QImage& image, int x, int y, ColorRef fillColour)
{
    m_painted.spans.clear();
    const FillResult result = floodFill(image, x, y, fillColour, &m_painted);
    if (!result)
        return result;
    Step& step = push();
    step.spans.take(m_painted.spans);
    step.changed = result.changed;
    step.from = m_painted.replaced | 0xFF000000u;
    step.to = toQRgb(fillColour) | 0xFF000000u;
    step.bytes = step.spans.bytes();
    m_bytes += step.bytes;
    if (Q_UNLIKELY(m_bytes > m_maxBytes))
        keepWithinBytes();
    return result;
}

void UndoHistory::replaced(const QImage& before, const QImage& after)
{
    Step& step = push();
    step.pictures = std::make_unique<const Pictures>(Pictures{before, after});
    step.bytes = static_cast<qsizetype>(sizeof(Step)) + before.sizeInBytes() + after.sizeInBytes();
    m_bytes += step.bytes;
    if (m_bytes > m_maxBytes)
        keepWithinBytes();
}

void UndoHistory::keepWithinBytes()
{
    if (at(m_count - 1).bytes > m_maxBytes) {
        // Too large to keep; the steps before it could no longer be taken back
        // past it, so they go too.
        clear();
        return;
    }
    while (m_bytes > m_maxBytes)
        dropOldest();
}

UndoHistory::Change UndoHistory::undo(QImage& image)
{
    if (!canUndo())
        return {};
    const Step& step = at(--m_done);
    if (!step.pictures) {
        step.spans.paint(image, step.from);
        return {step.changed, true};
    }
    image = step.pictures->before;
    return {image.rect(), true};
}

UndoHistory::Change UndoHistory::redo(QImage& image)
{
    if (!canRedo())
        return {};
    const Step& step = at(m_done++);
    if (!step.pictures) {
        step.spans.paint(image, step.to);
        return {step.changed, true};
    }
    image = step.pictures->after;
    return {image.rect(), true};
}

void UndoHistory::clear()
{
    while (m_count > 0)
        release(at(--m_count));
    m_first = 0;
    m_done = 0;
    m_bytes = 0;
}
