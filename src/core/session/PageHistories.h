#pragma once

#include "core/colour/UndoHistory.h"

#include <QImage>

#include <list>

// The undo histories of the pages turned away from, kept for the whole run so
// that a page turned back to can still take back its fills and the eraser.
// Each is kept with the page it leads to: a page that comes back different
// (its copy written by something else) starts afresh. The pages left longest
// ago go first once the histories hold too much memory.
class PageHistories {
public:
    static constexpr qsizetype kMaxBytes = qsizetype(256) << 20;

    explicit PageHistories(qsizetype maxBytes = kMaxBytes) : m_maxBytes(maxBytes) {}

    // Stores the history of a page being left, which shows `shown`.
    void store(int page, UndoHistory history, const QImage& shown);
    // The history of a page coming back as `shown`; empty when none was kept
    // for it or the page is no longer what the history leads to.
    UndoHistory take(int page, const QImage& shown);

    qsizetype bytes() const { return m_bytes; }
    int pageCount() const { return static_cast<int>(m_entries.size()); }

private:
    struct Entry {
        int page = 0;
        UndoHistory history;
        QImage shown;
        qsizetype bytes = 0;
    };
    std::list<Entry>::iterator find(int page);
    void drop(std::list<Entry>::iterator entry);

    qsizetype m_maxBytes;
    qsizetype m_bytes = 0;
    std::list<Entry> m_entries; // the page left last first
};
