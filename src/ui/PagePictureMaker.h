#pragma once

#include "core/book/PageBook.h"

#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QThreadPool>

#include <optional>

// Makes the pages' small pictures from the page files on threads of its own,
// so the view never waits on a file: each is asked for once, and comes back
// through `made`, or `failed` with the reason, on the maker's thread. Asks not
// yet begun can be dropped when the view has scrolled past them.
class PagePictureMaker : public QObject {
    Q_OBJECT
public:
    explicit PagePictureMaker(QObject* parent = nullptr);
    ~PagePictureMaker() override;

    // The book the pictures come from, as it is now; drops every ask.
    void setBook(const PageBook& book);
    // Asks for a page fitted into `box`, unless it is already asked for.
    void ask(int page, QSize box);
    // Drops the asks not yet begun.
    void dropWaiting();
    // Asks not yet answered.
    int waiting() const { return static_cast<int>(m_asked.size()); }

signals:
    void made(int page, const QImage& picture);
    void failed(int page, const QString& reason);

private:
    void answer(int page);

    std::optional<PageBook> m_book; // none until setBook
    QSet<int> m_asked;
    int m_generation = 0;
    QThreadPool m_pool;
};
