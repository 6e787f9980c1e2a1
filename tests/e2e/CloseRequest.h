#pragma once

#include <QString>

// The window system's close request: WM_DELETE_WINDOW, as a window manager
// sends it for its close button or Alt+F4. No window manager runs in the
// tests, so they send it themselves.
bool sendCloseRequest(const QString& display, qulonglong window);
