#pragma once

#include <QImage>
#include <QString>

// The program's icon for the desktop's menus: a page with a flower half
// coloured in and a crayon, drawn at every size the icon theme asks for.
class AppIcon {
public:
    static constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

    static QImage draw(int size);

    // icon-<size>.png for each size, icon.ico for the Windows program, and
    // setup-side.bmp, the picture of its setup program's first page.
    static void writeAll(const QString& dir);

private:
    static QImage setupSide();
};
