#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The program folder's moving and tiled pictures: the intro window's writing pencil,
// the main window's jumping monster and the wallpaper tile.
class Animations {
public:
    static constexpr int frameDelay = 10; // hundredths of a second

    static QList<QImage> writingPencil();
    static QList<QImage> jumpingMonster();
    static QImage wallpaperTile();

    // ani.gif, monstruito.gif, fondo.gif
    static void writeAll(const QString& dir);
};
