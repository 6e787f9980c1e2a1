#pragma once

class QObject;

// The ways the system asks a program to end from outside (on Linux SIGTERM,
// SIGINT and SIGHUP: a logout, Ctrl+C, a closed terminal; on Windows the
// console's control events) end it through the event loop, so that the page
// on show is kept, even when the child lock refuses to close the window.
// Windows' own end of a session reaches the windows as Qt's commitDataRequest.
class QuitOnSignals {
public:
    // Installs the handlers for the rest of the run; `parent` owns what they need.
    static void install(QObject* parent);
};
