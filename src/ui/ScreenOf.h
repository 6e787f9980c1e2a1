#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

// The screen a window is on; before it is shown, the primary screen.
inline QScreen* screenOf(const QWidget* window)
{
    QScreen* screen = window->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}
