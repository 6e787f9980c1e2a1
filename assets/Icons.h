#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

// The 32 x 32 icons: the main window's monster, the intro window's duck and the ray-gun
// pointer shown over the colour bar.
class Icons {
public:
    // The ray gun's muzzle tip, the pointer's hot spot.
    static constexpr QPoint rayGunHotSpot{4, 4};

    static QImage monster();
    static QImage duck();
    static QImage rayGun();

    // monster.ico, duck.ico, raygun.ico, and each again as .png: Qt's icon reader
    // ignores the transparency mask of a 24-bit icon, so the program uses the PNGs.
    static void writeAll(const QString& dir);
};
