// tintaro_assetgen <programDir> <generatedDir>
// Writes every picture and sound the program ships: the sample book, wallpaper,
// animations and sounds into the program folder, and the pictures stored inside the
// windows and the desktop icon into the generated folder.

#include "Animations.h"
#include "AppIcon.h"
#include "BookDrawings.h"
#include "Icons.h"
#include "Sounds.h"
#include "WindowPictures.h"

#include <QDir>
#include <QString>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <programDir> <generatedDir>\n", argv[0]);
        return 2;
    }
    const QString programDir = QString::fromLocal8Bit(argv[1]);
    const QString generatedDir = QString::fromLocal8Bit(argv[2]);
    try {
        QDir().mkpath(programDir + "/dibujos");
        QDir().mkpath(generatedDir);
        BookDrawings::writeAll(programDir);
        Animations::writeAll(programDir);
        Sounds::writeAll(programDir);
        WindowPictures::writeAll(generatedDir);
        Icons::writeAll(generatedDir);
        AppIcon::writeAll(generatedDir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tintaro_assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
