#pragma once

#include "core/colour/ColorRef.h"
#include "core/colour/FillSpans.h"
#include "core/colour/FloodFill.h"

#include <QImage>
#include <QtGlobal>

#include <algorithm>
#include <memory>
#include <vector>

// The steps taken on the page on show, to be taken back and done again. A fill is
// kept as the runs it painted and the colour it replaced, which is all it takes to
// undo it exactly: it turned exactly those pixels from one colour into another.
// A replaced picture (the eraser) keeps both pictures, shared with whoever else
// holds them. The oldest steps go first once there are too many or they hold too
// much memory; a step too large on its own is not kept at all.
class UndoHistory {
public:
    static constexpr int kMaxSteps = 200;
    static constexpr qsizetype kMaxBytes = qsizetype(64) << 20;

    explicit UndoHistory(int maxSteps = kMaxSteps, qsizetype maxBytes = kMaxBytes)
        : m_maxSteps(static_cast<std::size_t>(std::max(maxSteps, 1))), m_maxBytes(maxBytes)
    {
    }

    // Fills as floodFill does; a fill that changed pixels becomes the newest step
    // and drops every step that could have been done again.
    FillResult fill(QImage& image, int x, int y, ColorRef fillColour);
    // The whole picture `before` was replaced by `after`.
    void replaced(const QImage& before, const QImage& after);

    // What taking a step back or doing it again changed: the smallest
    // rectangle holding every pixel it set (a replaced picture: the whole of
    // the picture it put back). False when there was no step to take.
    struct Change {
        QRect changed;
        bool taken = false;
        explicit operator bool() const { return taken; }
    };

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_count; }
    // Whether the step that undo (redo) would take is a replaced picture.
    bool undoReplacesPicture() const { return canUndo() && at(m_done - 1).pictures; }
    bool redoReplacesPicture() const { return canRedo() && at(m_done).pictures; }

    // Takes back the newest step done on `image`, which must be the picture that
    // step left; returns false, changing nothing, when there is none.
    Change undo(QImage& image);
    // Does the step taken back last again.
    Change redo(QImage& image);

    void clear();

    int stepCount() const { return static_cast<int>(m_count); }
    // The memory the steps hold, in bytes.
    qsizetype bytes() const { return m_bytes; }

private:
    struct Pictures {
        QImage before;
        QImage after;
    };
    struct Step {
        FillSpans spans;
        QRect changed;
        QRgb from = 0;
        QRgb to = 0;
        qsizetype bytes = 0;
        std::unique_ptr<const Pictures> pictures; // a replaced picture; none for a fill
    };

    // The i-th step from the oldest kept.
    Step& at(std::size_t i) { return m_ring[slot(i)]; }
    const Step& at(std::size_t i) const { return m_ring[slot(i)]; }
    std::size_t slot(std::size_t i) const
    {
        const std::size_t k = m_first + i; // below twice the ring's size
        return k < m_ring.size() ? k : k - m_ring.size();
    }
    // A free slot for the newest step, after the steps that could be done again
    // and, when the count is full, the oldest one.
    Step& push();
    void dropRedoSteps();
    // Brings the steps back within the memory bound.
    void keepWithinBytes();
    void release(Step& step);
    void dropOldest();

    std::size_t m_maxSteps;
    qsizetype m_maxBytes;
    // A ring of m_maxSteps slots, so that a step costs no allocation of its own.
    std::vector<Step> m_ring;
    std::size_t m_first = 0;
    std::size_t m_count = 0;
    std::size_t m_done = 0; // steps done; those after them can be done again
    qsizetype m_bytes = 0;
    PaintedArea m_painted; // kept between fills, so a fill rarely allocates
};
