#pragma once

#include "import/PageAdder.h"

#include <QSize>
#include <QString>
#include <QStringList>

class DrawingFile;

// Adds drawings from anywhere to the end of a book, each file as one page or,
// for a PDF, one page per sheet. Widget-free: what happened is told to a
// Listener line by line, in Spanish, for a terminal or a window to show.
class PageImporter {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void added(const QString& line) = 0;
        virtual void refused(const QString& line) = 0;
    };

    // `largestPage`: the largest picture the book shows whole on the screen
    // the pages are made for.
    PageImporter(QString bookFolder, QSize largestPage);

    // Tries every file; returns false when any file or sheet was refused.
    bool addAll(const QStringList& files, Listener& listener);

private:
    enum class Outcome { Added, Refused, BookFull };

    Outcome addFile(const QString& path, Listener& listener);
    Outcome addSheet(DrawingFile& drawing, int sheet, const QString& name, Listener& listener);

    PageAdder m_adder;
    QSize m_largestPage;
};
