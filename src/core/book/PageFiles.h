#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// The names of the book's files and the tests that decide whether one is there.

// Program folder + "/dibujos/" + decimal page number + extension (".gif", ".bmp").
QString pageFilePath(const QString& programFolder, int page, const QString& extension);

// The name of the ordinary file that `path` designates, as the file system
// stores it, or empty text. Letter case is ignored the way the platform the
// books come from ignores it; when several spellings exist the exact one wins.
// Folders, hidden files and dangling links are never found.
QString lookUpFileName(const QString& path);

// Present under any spelling: how pages are counted.
bool passesAnyMatchTest(const QString& path);

// Present under exactly the spelling asked for: the only files that are ever
// read as coloured copies, deleted or used as the switch file.
bool passesExactNameTest(const QString& path);

// Answers case-insensitive look-ups in one folder from a single listing, so
// that counting a large book stays linear.
class FolderIndex {
public:
    explicit FolderIndex(QString folder);
    QString findFileName(const QString& name);
    // How many pages the book has: 1.gif, 2.gif … up to the first missing
    // number, under any spelling, and never more than `limit`.
    int countPages(int limit);
    // The first page number from `from` on whose drawing is missing under
    // any spelling; `limit` when all up to it are there.
    int firstMissing(int from, int limit);

private:
    QString m_folder;
    std::optional<QHash<QString, QStringList>> m_byFoldedName;
};

// The first line of the switch file: up to the first carriage return or line
// feed, so that Windows, Linux and old Mac line ends all end it; a UTF-8
// byte-order mark at the start is not part of it.
QByteArray firstLineOf(const QByteArray& content);

// True when start-up keeps the coloured copies: the line in upper case is "NO".
bool switchKeepsCopies(const QByteArray& line);

// Reads the switch line of "<programFolder>/borra.txt" (empty text when the
// file does not pass the exact-name test). Throws Failure when it is found but
// cannot be read.
QByteArray readSwitchLine(const QString& programFolder);
