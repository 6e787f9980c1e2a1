#pragma once

#include "colour/ColorRef.h"
#include "colour/FillSpans.h"
#include "colour/FloodFill.h"

#include <QImage>
#include <QtGlobal>

#include <deque>
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
        : m_maxSteps(maxSteps), m_maxBytes(maxBytes)
    {
    }

    // Fills as floodFill does; a fill that changed pixels becomes the newest step
    // and drops every step that could have been done again.
    bool fill(QImage& image, int x, int y, ColorRef fillColour);
    // The whole picture `before` was replaced by `after`.
    void replaced(const QImage& before, const QImage& after);

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }

    // Takes back the newest step done on `image`, which must be the picture that
    // step left; returns false, changing nothing, when there is none.
    bool undo(QImage& image);
    // Does the step taken back last again.
    bool redo(QImage& image);

    void clear();

    int stepCount() const { return static_cast<int>(m_steps.size()); }
    // The memory the steps hold, in bytes.
    qsizetype bytes() const { return m_bytes; }

private:
    struct Step {
        FillSpans spans;
        QRgb from = 0;
        QRgb to = 0;
        bool replacesPicture = false;
        QImage before;
        QImage after;
        qsizetype bytes = 0;
    };

    void add(Step step);

    int m_maxSteps;
    qsizetype m_maxBytes;
    std::deque<Step> m_steps;
    std::size_t m_done = 0; // steps done; those beyond can be done again
    qsizetype m_bytes = 0;
    std::vector<PaintedSpan> m_painted; // kept between fills, so a fill rarely allocates
};
