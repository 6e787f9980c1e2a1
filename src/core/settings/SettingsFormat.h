#pragma once

#include <QSettings>

// How the per-user choices are stored: the system's usual way on Linux
// (~/.config/Tintaro/tintaro.conf); on Windows an INI file in the user's
// Tintaro folder (%APPDATA%\Tintaro\tintaro.ini) rather than the registry,
// so that a parent backs up the book and the choices by copying one folder.
class SettingsFormat {
public:
    static QSettings::Format format();
};
