#pragma once

#include "import/PageCleaner.h"

#include <QString>
#include <QStringList>

// `tintaro --add FILE…`: adds each file as the next page(s) of the book in
// `bookFolder` (the folder that holds `dibujos`), one line per page on
// standard output, and returns the exit status. With no files it asks for
// them in a file dialog and shows the outcome in a window with a picture of
// each new page.
class AddCommand {
public:
    // The pages are sized for the screen at `manualZoom` when it is
    // positive, else at the screen's own zoom. `treatment` is --foto or
    // --dibujo: every file taken as a photograph or as a drawing.
    static int run(QStringList files, const QString& bookFolder, double manualZoom = 0,
                   PageCleaner::Treatment treatment = PageCleaner::Treatment::ByLook);
};
