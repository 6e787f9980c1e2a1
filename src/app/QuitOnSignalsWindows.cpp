#include "app/QuitOnSignals.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <windows.h>

namespace {

// Set once the event loop has been left and the page kept.
HANDLE g_ended = nullptr;

// Runs on a thread of the system's own: it asks the event loop to end and,
// since the process is cut off as soon as it returns from a closing console,
// a logoff or a shutdown, waits a little for the page to be kept.
BOOL WINAPI onControlEvent(DWORD event)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        WaitForSingleObject(g_ended, 5000);
    return TRUE;
}

} // namespace

void QuitOnSignals::install(QObject* parent)
{
    g_ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Connected after the windows, so it runs once they have kept the page.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, parent,
                     [] { SetEvent(g_ended); });
    SetConsoleCtrlHandler(onControlEvent, TRUE);
}
