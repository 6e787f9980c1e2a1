#pragma once

#include <QCache>
#include <QImage>
#include <QSize>

class PageBook;

// Small pictures of the book's pages for the pages' view, in a bounded cache:
// a book of any length costs only the pictures near the part on show, the
// least recently shown going first.
class PagePictures {
public:
    explicit PagePictures(int bound = 0) { m_cache.setMaxCost(bound); }

    // The page's picture when it is made; null otherwise. Counts as a use.
    const QImage* find(int page) { return m_cache.object(page); }
    void cache(int page, const QImage& picture) { m_cache.insert(page, new QImage(picture)); }
    bool has(int page) const { return m_cache.contains(page); }
    int count() const { return static_cast<int>(m_cache.size()); }
    int bound() const { return static_cast<int>(m_cache.maxCost()); }
    // Forgets every picture and keeps at most `bound` from now on.
    void reset(int bound)
    {
        m_cache.clear();
        m_cache.setMaxCost(bound);
    }

    // A page fitted whole into `box`, its shape kept.
    static QImage small(const QImage& page, QSize box);
    // A page as the book has it now, its coloured copy when it has one,
    // fitted likewise. Throws Failure.
    static QImage load(const PageBook& book, int page, QSize box);

private:
    QCache<int, QImage> m_cache;
};
