#pragma once

#include <QRect>
#include <QtGlobal>

// What one fill changed: the smallest rectangle holding every painted pixel (empty
// when none was) and how many pixels were painted. The screen redraws only the
// rectangle; nothing at all when the fill changed nothing.
struct FillResult {
    QRect changed;
    qint64 painted = 0;

    explicit operator bool() const { return painted > 0; }
};
