#pragma once

#include "import/PageAdder.h"

#include <QSize>
#include <QString>
#include <QStringList>

// Adds drawings to a book sheet by sheet, as `tintaro --add` does, and tells
// a listener how it goes: the terminal prints it, a window shows progress.
// Every file is tried whatever happened to the ones before; only a full book
// or the listener stops the work, and what was added stays.
class PageImport {
public:
    // Where the work is: sheet `sheet` of `sheets` of file `file` of `files`
    // (all from 1), named as the messages name it.
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
        virtual bool carryOn(const Step& step) = 0;
        virtual void added(const QString& line) = 0;
        virtual void refused(const QString& line) = 0;
    };

    PageImport(QString bookFolder, QSize largestPage);

    // Adds `files` in order; returns whether every sheet of every file was added.
    bool run(const QStringList& files, Listener& listener);

    int pagesAdded() const { return m_added; }
    int sheetsRefused() const { return m_refused; }
    bool stopped() const { return m_stopped; }

    // One line on what was done: pages added, sheets refused, a stop.
    QString summary() const;

private:
    enum class Sheet { Added, Refused, BookFull };
    // Returns false when the book can take nothing more.
    bool addFile(const QString& path, int file, int files, Listener& listener);
    Sheet addSheet(class DrawingFile& drawing, const QString& name, int sheet, Listener& listener);

    PageAdder m_adder;
    QSize m_largest;
    int m_added = 0;
    int m_refused = 0;
    bool m_stopped = false;
};
