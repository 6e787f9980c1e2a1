#pragma once

#include "colour/FillResult.h"
#include "colour/UndoHistory.h"
#include "ui/PictureBox.h"

// The canvas: its persistent image is the page on show with all its fills,
// what the screen shows, what a page turn saves and what the clipboard gets.
// It keeps the history of the steps taken on the page since it was put there.
class Canvas : public PictureBox {
    Q_OBJECT
public:
    explicit Canvas(QWidget* parent = nullptr);

    // Takes the picture as the persistent image (in RGB32, the fill's format):
    // a new page, with an empty history.
    void setPicture(const QImage& picture) override;
    // Replaces the persistent image as one step that can be taken back.
    void replacePicture(const QImage& picture);
    const QImage& persistentImage() const { return m_picture; }

    void setFillColour(ColorRef colour) { m_fillColour = colour; }
    ColorRef fillColour() const { return m_fillColour; }

    // Floods the area at a pixel of the persistent image with the fill colour and
    // puts the change on screen before returning, redrawing only the rectangle the
    // fill changed. A point outside the picture, or an area already in the fill
    // colour, paints nothing and redraws nothing.
    FillResult fillAt(int x, int y);

    // Take back and do again the steps on the page, redrawing only what they
    // changed before returning; false when there is none.
    bool undo();
    bool redo();
    bool canUndo() const { return m_history.canUndo(); }
    // Whether the next undo (redo) takes back (does again) the eraser.
    bool undoTakesBackEraser() const { return m_history.undoReplacesPicture(); }
    bool redoRepeatsEraser() const { return m_history.redoReplacesPicture(); }

private:
    bool showChange(const UndoHistory::Change& change);

    ColorRef m_fillColour = rgbColour(255, 0, 0);
    UndoHistory m_history;
};
