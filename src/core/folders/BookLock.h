#pragma once

#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>

// Keeps a book to one program at a time, so that a second start cannot clean
// up or overwrite the pages another program has on show. The lock is a hidden
// file beside `dibujos`, where neither the start-up clean-up nor the page
// count looks; when the book's folder takes no file (read-only, say) it is
// kept in the user's runtime folder under a name made from the book's path.
// A lock left by a program that no longer runs never stands in the way, and
// when no lock can be made at all the book is opened unguarded rather than
// not at all.
class BookLock {
public:
    explicit BookLock(const QString& bookFolder);

    // True when this program now holds the book (or no lock could be made);
    // false when a running program holds it.
    bool take();

    // A short name for this book, the same for every spelling of its path.
    const QString& key() const { return m_key; }

private:
    // Taken (true), held by a running program (false), or unusable (empty).
    std::optional<bool> takeAt(const QString& path);

    QString m_bookFolder;
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
};
