#include "app/QuitOnSignals.h"

#include "core/book/Failure.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_writeEnd = -1;

// Reads the handler's bytes on the event loop's side of the socket pair.
class SignalReader : public QObject {
public:
    SignalReader(qintptr readEnd, QObject* parent)
        : QObject(parent), m_notifier(readEnd, QSocketNotifier::Read)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &SignalReader::onSignalled);
    }

private:
    void onSignalled();

    QSocketNotifier m_notifier;
};

extern "C" void onSignalCaught(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full socket already holds a quit that has not been read: nothing is lost.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    errno = saved;
}

// Neither end passes to a program started from this one; the handler's write never blocks.
bool makeSocketPair(int (&ends)[2])
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
        return false;
    for (int end : ends)
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    ::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    return true;
}

} // namespace

void QuitOnSignals::install(QObject* parent)
{
    int ends[2] = {-1, -1};
    if (!makeSocketPair(ends)) {
        printError(QStringLiteral("no puedo atender las señales de fin (%1); cerrar la ventana "
                                  "sigue guardando la página.")
                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    g_writeEnd = ends[0];
    new SignalReader(ends[1], parent);
    struct sigaction action = {};
    action.sa_handler = onSignalCaught;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // A signal ignored when the program started (SIGHUP under nohup, say) stays ignored.
        struct sigaction before = {};
        if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
            ::sigaction(signal, &action, nullptr);
    }
}

void SignalReader::onSignalled()
{
    // Bytes left wake the notifier again, and ending twice does no harm.
    char bytes[64];
    [[maybe_unused]] const ssize_t taken = ::read(int(m_notifier.socket()), bytes, sizeof bytes);
    // Not quit(): that asks the windows to close, and the child lock refuses.
    // Leaving the event loop still emits aboutToQuit, which keeps the page.
    QCoreApplication::exit(0);
}
