#pragma once

#include "core/folders/BookLock.h"

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <optional>

// One program per book. The first start on a book holds it and listens; a
// later start on the same book deletes and writes nothing and shows no window
// of its own: it asks the running program to bring its window to the front,
// and ends.
class BookOwner : public QObject {
public:
    explicit BookOwner(QObject* parent = nullptr);

    // Nothing when this program now holds `bookFolder` and goes on; otherwise
    // the status this later start ends with: 0 when the running program came
    // forward, 1 (said on stderr, and in a box on a desktop) when it did not
    // answer.
    std::optional<int> claim(const QString& bookFolder);

private:
    void listen();
    void onCallerConnected();
    int askHolderForward(const QString& bookFolder);

    std::optional<BookLock> m_lock;
    QLocalServer m_server;
};
