#include "app/ScreenZoom.h"

#include "core/geometry/DisplayZoom.h"
#include "core/geometry/Zoom.h"

#include "core/book/Failure.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <cmath>
#include <cstdlib>

QSize ScreenZoom::deviceScreen(QSize headless)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return headless;
    // The desktop's own scale is part of the zoom: count device pixels.
    return (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
}

double ScreenZoom::choose(double manual, QSize deviceScreen)
{
    return manual > 0 ? manual : Zoom::forScreen(deviceScreen);
}

// A zoom the screen cannot hold puts the windows' titles and buttons out of
// reach: it is refused, naming the largest that fits.
void ScreenZoom::refuseTooLarge(double manual, QSize device)
{
    if (manual <= 0 || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    const double largest = Zoom::forScreen(device);
    if (manual <= largest + 1e-9)
        return;
    const QString fits =
        QLocale(QLocale::Spanish).toString(std::floor(largest * 100) / 100, 'g', 4);
    printError(QStringLiteral("--zoom %1 no cabe en esta pantalla de %2 × %3 puntos; el mayor "
                              "que cabe es %4.")
                   .arg(QLocale(QLocale::Spanish).toString(manual, 'g', 4))
                   .arg(device.width())
                   .arg(device.height())
                   .arg(fits));
    std::exit(2);
}

DisplayZoom ScreenZoom::decide(double manual)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double desktop = screen ? screen->devicePixelRatio() : 1.0;
    const QSize device = screen ? deviceScreen(screen->geometry().size()) : QSize();
    refuseTooLarge(manual, device);
    return {choose(manual, device), desktop};
}
