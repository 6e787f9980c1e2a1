#include "ui/PagePictureMaker.h"

#include "core/book/Failure.h"
#include "core/gallery/PagePictures.h"

#include <QMetaObject>
#include <QRunnable>

PagePictureMaker::PagePictureMaker(QObject* parent) : QObject(parent) {}

PagePictureMaker::~PagePictureMaker()
{
    // A running ask holds this maker: let it finish before the maker goes.
    m_pool.clear();
    m_pool.waitForDone();
}

void PagePictureMaker::setBook(const PageBook& book)
{
    dropWaiting();
    m_pool.waitForDone();
    m_asked.clear();
    m_book = book;
    ++m_generation; // answers from the old book already on their way are ignored
}

void PagePictureMaker::ask(int page, QSize box)
{
    if (!m_book || m_asked.contains(page))
        return;
    m_asked.insert(page);
    m_pool.start(QRunnable::create([this, book = *m_book, page, box, generation = m_generation] {
        QImage picture;
        QString reason;
        try {
            picture = PagePictures::load(book, page, box);
        } catch (const Failure& failure) {
            reason = failure.reason();
        } catch (const std::exception&) {
            reason = QStringLiteral("No hay memoria para leerla.");
        }
        QMetaObject::invokeMethod(this, [this, page, picture, reason, generation] {
            if (generation != m_generation)
                return;
            answer(page);
            if (reason.isEmpty())
                emit made(page, picture);
            else
                emit failed(page, reason);
        });
    }));
}

void PagePictureMaker::dropWaiting()
{
    m_pool.clear();
    // Asks that already run still answer; the rest can be asked for again.
    m_asked.clear();
}

void PagePictureMaker::answer(int page)
{
    m_asked.remove(page);
}
