#include "app/BookOwner.h"

#include "core/book/Failure.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QMessageBox>
#include <QThread>
#include <QWidget>

namespace {

// What the running program answers once its window is in front.
constexpr char kForward[] = "delante\n";
// A later start gives up after this, well inside the time a person waits.
constexpr int kAnswerMs = 4000;

// The listening name: the book's, and the user's, so that two people on one
// computer each reach only their own program.
QString serverName(const BookLock& lock)
{
    const QByteArray who = (lock.key() + QDir::homePath()).toUtf8();
    return QStringLiteral("tintaro-") +
           QString::fromLatin1(
               QCryptographicHash::hash(who, QCryptographicHash::Sha256).toHex().left(32));
}

// The intro or the main window (or a message box over it) comes to the front,
// out of the taskbar if it was minimised.
void bringWindowsForward()
{
    QWidget* front = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        front = window;
    }
    if (QApplication::activeModalWidget())
        front = QApplication::activeModalWidget();
    if (front) {
        front->raise();
        front->activateWindow();
    }
}

bool hasDesktop()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

BookOwner::BookOwner(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QLocalServer::newConnection, this, &BookOwner::onCallerConnected);
}

std::optional<int> BookOwner::claim(const QString& bookFolder)
{
    m_lock.emplace(bookFolder);
    if (!m_lock->take())
        return askHolderForward(bookFolder);
    listen();
    return std::nullopt;
}

void BookOwner::listen()
{
    const QString name = serverName(*m_lock);
    // A program that crashed may have left its socket; the lock says it no longer runs.
    QLocalServer::removeServer(name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(name))
        printError(QStringLiteral("otro Tintaro abierto sobre este libro no podrá traer esta "
                                  "ventana al frente (%1).")
                       .arg(m_server.errorString()));
}

void BookOwner::onCallerConnected()
{
    while (QLocalSocket* caller = m_server.nextPendingConnection()) {
        connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        bringWindowsForward();
        caller->write(kForward);
        caller->disconnectFromServer();
    }
}

int BookOwner::askHolderForward(const QString& bookFolder)
{
    // The holder may have just taken the lock and not be listening yet.
    const QDeadlineTimer deadline(kAnswerMs);
    QByteArray answer;
    while (!deadline.hasExpired() && !answer.contains('\n')) {
        QLocalSocket socket;
        socket.connectToServer(serverName(*m_lock));
        if (!socket.waitForConnected(int(deadline.remainingTime()))) {
            QThread::msleep(100);
            continue;
        }
        while (!answer.contains('\n') && (socket.bytesAvailable() > 0 ||
                                          socket.waitForReadyRead(int(deadline.remainingTime()))))
            answer += socket.readAll();
    }
    if (answer == kForward)
        return 0;
    const QString message = QStringLiteral("el libro «%1» ya está abierto en otro Tintaro, que no "
                                           "contesta. Ciérralo y vuelve a abrir Tintaro.")
                                .arg(QDir::toNativeSeparators(bookFolder));
    printError(message);
    if (hasDesktop())
        QMessageBox::warning(nullptr, QStringLiteral("Tintaro"),
                             message.at(0).toUpper() + message.mid(1));
    return 1;
}
