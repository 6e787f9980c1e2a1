#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The pictures stored inside the main window: the two page buttons' rolling balls, the
// eraser, the door, the colour bar, the undo button, bright and greyed, and the
// button of the pages' view.
class WindowPictures {
public:
    static constexpr int ballFrameCount = 9;

    // Nine frames of the ball; the arrow points left for the forward button.
    static QList<QImage> ballFrames(bool arrowPointsLeft);
    static QImage eraser();
    static QImage door();
    static QImage colourBar();
    // A green round button with a white arrow curving back; `active` false gives
    // the lighter, greyed picture shown while there is nothing to undo.
    static QImage undo(bool active);
    // An orange round button holding four little pages: the pages' view.
    static QImage gallery();

    // forward.gif, backward.gif, eraser.bmp, door.bmp, colourbar.bmp, undo.png,
    // undo-off.png, gallery.png
    static void writeAll(const QString& dir);
};
