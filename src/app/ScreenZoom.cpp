#include "app/ScreenZoom.h"

#include "core/geometry/Units.h"
#include "core/geometry/Zoom.h"

#include <QGuiApplication>
#include <QScreen>

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

void ScreenZoom::apply(double manual)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double desktop = screen ? screen->devicePixelRatio() : 1.0;
    const QSize device = screen ? deviceScreen(screen->geometry().size()) : QSize();
    setDisplayZoom(choose(manual, device), desktop);
}
