#pragma once

#include <QString>
#include <QStringList>

// `tintaro --add FILE…`: adds each file as the next page(s) of the book in
// `bookFolder` (the folder that holds `dibujos`), one line per page on
// standard output, and returns the exit status. With no files it asks for
// them in a file dialog and shows the outcome in a message box.
class AddCommand {
public:
    // Called before the application is made: with no display to connect to,
    // the pages are still made, for an assumed screen, with no window.
    static void prepareDisplay();

    static int run(QStringList files, const QString& bookFolder);
};
