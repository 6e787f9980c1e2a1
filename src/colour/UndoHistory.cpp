#include "colour/UndoHistory.h"

bool UndoHistory::fill(QImage& image, int x, int y, ColorRef fillColour)
{
    const ColorRef target = pixelColour(image, x, y);
    m_painted.clear();
    if (!floodFill(image, x, y, fillColour, &m_painted))
        return false;
    Step step;
    step.spans = FillSpans(m_painted);
    step.from = toQRgb(target) | 0xFF000000u;
    step.to = toQRgb(fillColour) | 0xFF000000u;
    step.bytes = step.spans.bytes();
    add(std::move(step));
    return true;
}

void UndoHistory::replaced(const QImage& before, const QImage& after)
{
    Step step;
    step.replacesPicture = true;
    step.before = before;
    step.after = after;
    step.bytes = static_cast<qsizetype>(sizeof(Step)) + before.sizeInBytes() + after.sizeInBytes();
    add(std::move(step));
}

void UndoHistory::add(Step step)
{
    while (m_steps.size() > m_done) {
        m_bytes -= m_steps.back().bytes;
        m_steps.pop_back();
    }
    if (step.bytes > m_maxBytes || m_maxSteps <= 0) {
        // Too large to keep: nothing before it can be taken back past it either.
        clear();
        return;
    }
    m_bytes += step.bytes;
    m_steps.push_back(std::move(step));
    while (static_cast<int>(m_steps.size()) > m_maxSteps || m_bytes > m_maxBytes) {
        m_bytes -= m_steps.front().bytes;
        m_steps.pop_front();
    }
    m_done = m_steps.size();
}

bool UndoHistory::undo(QImage& image)
{
    if (!canUndo())
        return false;
    const Step& step = m_steps[--m_done];
    if (step.replacesPicture)
        image = step.before;
    else
        step.spans.paint(image, step.from);
    return true;
}

bool UndoHistory::redo(QImage& image)
{
    if (!canRedo())
        return false;
    const Step& step = m_steps[m_done++];
    if (step.replacesPicture)
        image = step.after;
    else
        step.spans.paint(image, step.to);
    return true;
}

void UndoHistory::clear()
{
    m_steps.clear();
    m_done = 0;
    m_bytes = 0;
}
