#include "core/session/PageSession.h"

#include "core/book/Failure.h"
#include "core/colour/FloodFill.h"

PageSession::PageSession(QString bookFolder) : m_book(std::move(bookFolder)) {}

QString PageSession::startUp()
{
    m_book.startUp();
    m_fillColour = rgbColour(255, 0, 0);
    QString notice;
    show(m_book.loadFirstPage(&notice));
    const QString& book = m_book.startUpNotice();
    return book.isEmpty() || notice.isEmpty() ? book + notice : book + QLatin1Char('\n') + notice;
}

void PageSession::show(const QImage& picture)
{
    m_page = picture.convertToFormat(QImage::Format_RGB32);
    m_history = m_histories.take(m_book.state().currentPage, m_page);
    m_unsaved = false;
}

bool PageSession::pickColour(ColorRef colour)
{
    if (colour == kInvalidColour)
        return false;
    m_fillColour = colour & 0xFFFFFFu;
    return true;
}

void PageSession::changed()
{
    m_book.markChanged();
    m_unsaved = true;
}

FillResult PageSession::fillAt(QPoint pixel)
{
    const FillResult result = m_history.fill(m_page, pixel.x(), pixel.y(), m_fillColour);
    changed();
    return result;
}

void PageSession::settleWrites()
{
    // A write in the background must end before the copy is touched again,
    // or it could bring back a copy the eraser has just deleted. One that
    // failed leaves the page to keep at the next chance.
    if (auto failure = m_writer.wait()) {
        m_unsaved = true;
        m_writeFailure = std::move(failure);
    }
}

QString PageSession::erase()
{
    settleWrites();
    const QImage before = m_page;
    try {
        m_page = m_book.restore().convertToFormat(QImage::Format_RGB32);
    } catch (const Failure& failure) {
        // A drawing that cannot be read (or a copy that cannot go) leaves the
        // coloured page as it is, on screen and on disk.
        return failure.message();
    }
    m_history.replaced(before, m_page);
    // The page is as its drawing: nothing to keep until it changes again.
    m_unsaved = false;
    return {};
}

PageSession::Step PageSession::undo()
{
    settleWrites();
    const bool eraser = m_history.undoReplacesPicture();
    const UndoHistory::Change change = m_history.undo(m_page);
    if (!change)
        return {};
    changed();
    Step step{true, change.changed, std::nullopt};
    // The eraser deleted the coloured copy; the page it brings back is kept
    // at once, so that no way out of the program can lose it again.
    if (eraser) {
        try {
            m_book.saveCurrentCopy(m_page);
            m_unsaved = false;
        } catch (const SaveFailure& failure) {
            step.failure = failure.message();
        }
    }
    return step;
}

PageSession::Step PageSession::redo()
{
    settleWrites();
    const bool eraser = m_history.redoReplacesPicture();
    const UndoHistory::Change change = m_history.redo(m_page);
    if (!change)
        return {};
    changed();
    if (eraser) {
        m_book.removeCopy();
        m_unsaved = false;
    }
    return {true, change.changed, std::nullopt};
}

template <typename Move> PageSession::Turn PageSession::leave(Move move)
{
    settleWrites();
    const int left = m_book.state().currentPage;
    PageBook::Turn turned;
    try {
        turned = move();
    } catch (const SaveFailure& failure) {
        // The page and its fills stay on screen; the child can try again.
        return {false, Direction::Forward, left, failure.message()};
    }
    m_histories.store(left, std::move(m_history), m_page);
    show(turned.picture);
    return {true, turned.direction, turned.page,
            turned.notice.isEmpty() ? std::nullopt : std::optional(turned.notice)};
}

PageSession::Turn PageSession::turn(Direction direction)
{
    return leave([&] { return m_book.turn(direction, m_page); });
}

PageSession::Turn PageSession::goToPage(int page)
{
    return leave([&] { return m_book.goTo(page, m_page); });
}

// Unsaved fills, or a coloured page whose copy is gone (deleted by hand
// after it was saved).
bool PageSession::needsSaving() const
{
    const int page = m_book.state().currentPage;
    if (m_unsaved)
        return true;
    if (m_book.showsBlank() || m_book.hasColouredCopy(page))
        return false;
    try {
        return m_book.loadDrawing(page).convertToFormat(QImage::Format_RGB32) != m_page;
    } catch (const Failure&) {
        return false;
    }
}

std::optional<QString> PageSession::saveInBackground()
{
    settleWrites();
    std::optional<QString> tell;
    if (m_writeFailure && !m_writeFailureTold) {
        tell = m_writeFailure;
        m_writeFailureTold = true;
    }
    if (!m_unsaved || m_book.showsBlank())
        return tell;
    m_unsaved = false;
    // Copied now, while the presses pause, rather than by the next fill.
    m_writer.write(m_page.copy(), m_book.copyPath(m_book.state().currentPage));
    return tell;
}

std::optional<QString> PageSession::saveNow()
{
    settleWrites();
    if (!needsSaving())
        return std::nullopt;
    try {
        m_book.saveCurrentCopy(m_page);
        m_unsaved = false;
        return std::nullopt;
    } catch (const SaveFailure& failure) {
        return failure.message();
    }
}
