#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// What adding pages from the file dialog came to: the summary, the files
// refused, and each new page as the child will get it, under its number.
class AddedPagesWindow {
public:
    struct Page {
        QImage picture; // already small
        int number = 0;
        QString line; // what was printed for it, as its tip
    };
    static constexpr int kThumbnail = 220;

    struct Outcome {
        bool allAdded = false;
        QString summary;
        QStringList refused;
        QStringList lines;
        QList<Page> pages;
    };

    // Shows it and waits for Aceptar.
    static void show(const Outcome& outcome);

private:
    static void showWithoutPages(const Outcome& outcome);
};
