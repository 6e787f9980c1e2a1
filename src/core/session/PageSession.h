#pragma once

#include "core/book/PageBook.h"
#include "core/colour/ColorRef.h"
#include "core/colour/FillResult.h"
#include "core/colour/UndoHistory.h"
#include "core/session/CopyWriter.h"
#include "core/session/PageHistories.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

// The rules of the page on show, without a window: the fill colour, a fill at
// a press, the eraser, taking steps back and doing them again with the
// coloured copy on disk following, page turns with their save, and saving
// the page whatever way the program ends. Each call says what changed, for the
// window to show; a copy that cannot be written comes back as a message and
// the page stays as it is. Other failures throw Failure.
class PageSession {
public:
    using Direction = PageBook::Direction;

    // A changed page is kept on disk once the presses have paused this long,
    // so a crash or a power cut loses at most about twice it.
    static constexpr int kSaveAfterPauseMs = 1000;

    // A step taken back or done again.
    struct Step {
        bool taken = false;
        QRect changed; // pixels of the page to draw again
        std::optional<QString> failure;
    };

    struct Turn {
        bool turned = false; // false: the page left could not be saved
        Direction direction = Direction::Forward;
        int page = 1; // the page reached
        std::optional<QString> failure;
    };

    explicit PageSession(QString bookFolder);

    // Reads the switch, counts the pages, deletes the copies the switch says
    // to, and shows page 1. Throws Failure. Returns what the grown-ups should
    // be told once (a book that cannot keep colouring, a damaged page 1).
    QString startUp();

    // The page on show with its fills: what the screen shows, a turn saves
    // and the clipboard, the printer and a kept picture get.
    const QImage& page() const { return m_page; }
    const PageState& state() const { return m_book.state(); }
    const PageBook& book() const { return m_book; }

    ColorRef fillColour() const { return m_fillColour; }
    // A colour read at a press; kInvalidColour (nothing there) changes nothing.
    bool pickColour(ColorRef colour);

    // Floods the area at a pixel of the page; every fill marks the page.
    FillResult fillAt(QPoint pixel);
    // The clean drawing in place of the page, its copy deleted; can be taken
    // back. When that cannot be done (a drawing that cannot be read, a copy
    // that cannot go) the page stays as it is, and the reason comes back.
    QString erase();
    Step undo();
    Step redo();
    bool canUndo() const { return m_history.canUndo(); }
    // The memory every page's undo history holds.
    qsizetype historyBytes() const { return m_history.bytes() + m_histories.bytes(); }

    Turn turn(Direction direction);
    // Opens a page as a forward turn does.
    Turn goToPage(int page);

    // Whether the page on show holds changes no copy on disk has yet.
    bool hasUnsavedChange() const { return m_unsaved; }
    // Writes the page's copy on a thread of its own, when it has such changes;
    // the first failure of an earlier such write, to tell once (the page is
    // tried again at every pause).
    std::optional<QString> saveInBackground();
    // Writes it now and waits: the program is ending.
    std::optional<QString> saveNow();

private:
    void show(const QImage& picture);
    void changed();
    void settleWrites();
    bool needsSaving() const;
    template <typename Move> Turn leave(Move move);

    PageBook m_book;
    QImage m_page;
    UndoHistory m_history;
    PageHistories m_histories;
    ColorRef m_fillColour = rgbColour(255, 0, 0);
    bool m_unsaved = false;
    std::optional<QString> m_writeFailure;
    bool m_writeFailureTold = false;
    CopyWriter m_writer;
};
