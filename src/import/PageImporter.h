#pragma once

#include "import/PageAdder.h"
#include "import/PageCleaner.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class DrawingFile;

// Adds drawings from anywhere to a book, each file as one page or, for a
// PDF, one page per sheet. Widget-free: what happened is told to a Listener
// line by line, in Spanish, for a terminal or a window to show. Every file
// and sheet is tried whatever happened to the ones before; only a full book
// or the listener stops the work, and what was added stays.
class PageImporter {
public:
    // Where the work is: sheet `sheet` of `sheets` of file `file` of `files`,
    // all counted from 1, named as the messages name it.
    struct Step {
        QString name;
        int file = 0;
        int files = 0;
        int sheet = 0;
        int sheets = 0;
    };

    class Listener {
    public:
        virtual ~Listener() = default;
        // Before each sheet; returning false stops before it.
        virtual bool carryOn(const Step&) { return true; }
        virtual void added(const QString& line) = 0;
        // The page just added as number `page`, as the child will see it.
        virtual void addedPage(const QImage& /*picture*/, int /*page*/) {}
        virtual void refused(const QString& line) = 0;
    };

    // `largestPage`: the largest picture the book shows whole on the screen
    // the pages are made for. `treatment` forces every file to be taken as
    // a photograph or as a drawing, or lets each one's look tell.
    PageImporter(QString bookFolder, QSize largestPage,
                 PageCleaner::Treatment treatment = PageCleaner::Treatment::ByLook);

    // Tries every file; returns false when any file or sheet was refused or
    // the listener stopped the work.
    bool addAll(const QStringList& files, Listener& listener);

    // One line on what was done: pages added, drawings refused, a stop.
    QString summary() const;

private:
    enum class Outcome { Added, Refused, BookFull, Stopped };

    Outcome addFile(const QString& path, int file, int files, Listener& listener);
    Outcome addSheet(DrawingFile& drawing, int sheet, const QString& name, Listener& listener);

    PageAdder m_adder;
    QSize m_largestPage;
    PageCleaner::Treatment m_treatment = PageCleaner::Treatment::ByLook;
    int m_added = 0;
    int m_refused = 0;
    bool m_stopped = false;
};
