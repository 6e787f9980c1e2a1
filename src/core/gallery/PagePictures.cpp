#include "core/gallery/PagePictures.h"

#include "core/book/PageBook.h"

QImage PagePictures::small(const QImage& page, QSize box)
{
    if (page.isNull() || box.isEmpty())
        return {};
    return page.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage PagePictures::load(const PageBook& book, int page, QSize box)
{
    return small(book.loadPage(page), box);
}
