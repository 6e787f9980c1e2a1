#pragma once

#include <QString>

class Canvas;

// Ctrl+S: exports the page on show as a PNG in the user's pictures folder,
// in a folder "Tintaro". The page blinks once when it is exported, so that a
// child who cannot read sees it worked; a failure says which file and why
// in a message box, and changes nothing else.
class ExportKey {
public:
    // The folder the pictures go to.
    static QString folder();
    // Returns the picture's path, or empty text when it could not be written.
    static QString exportPage(Canvas* canvas, int page);
};
