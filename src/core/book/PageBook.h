#pragma once

#include "core/book/PageState.h"

#include <QImage>
#include <QString>

// The book of drawings: start-up counting and deletion, page turns with
// saving, and restoring a page. Pure file and state logic: the window puts the
// pictures it returns on the canvas.
class PageBook {
public:
    enum class Direction { Backward, Forward };

    struct Turn {
        QImage picture; // the new page, to put on the canvas
        Direction direction = Direction::Forward;
        int page = 1;   // the page reached
        QString notice; // a page that could not be read, said once
    };

    // One more than the largest page count the book's 16-bit counter can hold.
    static constexpr int kPageLimit = 32767;

    // The book's folder holds `dibujos` and `borra.txt`.
    explicit PageBook(QString bookFolder);

    const PageState& state() const { return m_state; }
    // Said once after start-up when the copies of yesterday could not be
    // deleted: the book goes on, but cannot keep colouring. Empty otherwise.
    const QString& startUpNotice() const { return m_startUpNotice; }
    // Whether the page on show stands in blank for a drawing that cannot be read.
    bool showsBlank() const { return m_blank; }
    // Where a coloured copy that could not be read is kept aside.
    QString damagedPath(int page) const;

    // Reads the switch, counts the pages and deletes the coloured copies the
    // switch says to delete. Throws Failure.
    void startUp();

    // Page 1's picture as start-up shows it, a damaged one as a turn shows it
    // (said in `notice`). Throws Failure for a book without drawings.
    QImage loadFirstPage(QString* notice = nullptr);

    // The pages of the book, counted as start-up counts them but changing
    // nothing. Throws Failure when there are more than the book can hold.
    int countPages() const;
    // A page as the book has it: its coloured copy when there is one, else
    // its drawing. Throws Failure.
    QImage loadPage(int page) const;
    // Where a page's coloured copy is written.
    QString copyPath(int page) const { return pagePath(page, ".bmp"); }
    // Whether the page has a coloured copy that loadPage shows.
    bool hasColouredCopy(int page) const;
    // A page's clean drawing. Throws Failure.
    QImage loadDrawing(int page) const;

    // Saves the page being left when it changed, steps, and loads the new page.
    // A copy that cannot be written throws SaveFailure and changes nothing.
    Turn turn(Direction direction, const QImage& persistentImage);
    // Goes to a page as a forward turn does, saving likewise; a page the book
    // does not have leaves the current one on show.
    Turn goTo(int page, const QImage& persistentImage);

    // Deletes the page's coloured copy and loads its clean drawing. A drawing
    // that cannot be read throws Failure and leaves the copy in place.
    QImage restore();

    // The eraser taken back and done again: the page on show gets its
    // coloured copy back at once (throws SaveFailure, nothing else changes),
    // or loses it again (throws Failure).
    void saveCurrentCopy(const QImage& page);
    void removeCopy();

    // Every fill marks the page, whatever the fill did.
    void markChanged() { m_state.pageChanged = true; }

    // Writes `image` as a 24-bit BMP beside, then renames it over `path`, so
    // the old file stays whole until the new one is complete and a link at
    // `path` is replaced, never written through. Throws SaveFailure.
    static void saveCopy(const QImage& image, const QString& path);

    // Removes what the program's own work left when it was cut short: the
    // hidden temporaries of saves and added pages in `dibujos`, and beside it
    // a hidden half-made copy of the sample book or half-written borra.txt.
    static void removeUnfinishedWork(const QString& bookFolder);

private:
    void saveIfChanged(const QImage& persistentImage);
    Turn arrive(Direction direction);
    QImage showable(int page, QString& notice);
    QImage blankPage(const QString& reason, QString& notice);
    QString pagePath(int page, const char* extension) const;
    static void deleteCopy(const QString& path);

    QString m_bookFolder;
    PageState m_state;
    QString m_startUpNotice;
    // The page on show is a blank stand-in for a drawing that cannot be read.
    bool m_blank = false;
};
