#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The pictures stored inside the main window: the two page buttons' rolling balls, the
// eraser, the door and the colour bar.
class WindowPictures {
public:
    static constexpr int ballFrameCount = 9;

    // Nine frames of the ball; the arrow points left for the forward button.
    static QList<QImage> ballFrames(bool arrowPointsLeft);
    static QImage eraser();
    static QImage door();
    static QImage colourBar();

    // forward.gif, backward.gif, eraser.bmp, door.bmp, colourbar.bmp
    static void writeAll(const QString& dir);
};
