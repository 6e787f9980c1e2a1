#pragma once

#include <QObject>
#include <QSocketNotifier>

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) end the
// program through the event loop, so that the page on show is kept, even
// when the child lock refuses to close the window. A signal handler may do almost nothing safely,
// so it only writes a byte to a socket pair; the notifier on the other end quits. Elsewhere than on
// Unix, installing does nothing.
class QuitOnSignals : public QObject {
public:
    // Installs the handlers for the rest of the run; `parent` owns the notifier.
    static void install(QObject* parent);

private:
    QuitOnSignals(qintptr readEnd, QObject* parent);
    void onSignalled();

    QSocketNotifier m_notifier;
};
