#pragma once

#include <QByteArray>
#include <QString>

// Puts new pages in a book: the folder that holds `dibujos`. Each takes the
// lowest number after the last one added that has no drawing, so a gap in
// the numbers is filled first; nothing already there is ever replaced.
class PageAdder {
public:
    explicit PageAdder(QString bookFolder);

    // The number the next page will get.
    int nextPage();

    // Stores an encoded GIF as the next page and returns its number. It is
    // written beside and renamed into place, so a page is either whole or
    // absent; it gets the permissions the umask gives. Throws Failure naming
    // the folder or file and the reason.
    int add(const QByteArray& gif);

    // The last page the book reaches now, counted the way the program counts
    // them when it starts: beyond a page that filled a gap, the pages already
    // there after it.
    int lastPageInBook() const;

private:
    QString drawingsFolder() const;
    int firstFree(int from) const;
    bool put(const QByteArray& gif, int page);

    QString m_bookFolder;
    int m_next = 1; // no page before it is free
};
