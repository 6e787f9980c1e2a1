#pragma once

#include <QByteArray>
#include <QString>

// Puts new pages at the end of a book: the folder that holds `dibujos`.
// Nothing already there is ever replaced.
class PageAdder {
public:
    explicit PageAdder(QString bookFolder);

    // The number the next page will get: one more than the last page, the
    // pages counted the way the program counts them when it starts.
    int nextPage();

    // Stores an encoded GIF as the next page and returns its number. It is
    // written beside and renamed into place, so a page is either whole or
    // absent. Throws Failure naming the folder or file and the reason.
    int add(const QByteArray& gif);

private:
    QString drawingsFolder() const;

    QString m_bookFolder;
    int m_next = 0; // 0 until the book has been counted
};
