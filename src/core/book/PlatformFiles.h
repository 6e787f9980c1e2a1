#pragma once

#include <QString>

class QFileDevice;

// What the durable write needs of the file system that Linux and Windows do
// in their own ways. Every function reports failure as an errno-style number
// (0 for success), so that DurableFile tells the reason in one place.
class PlatformFiles {
public:
    // Waits until the open file's bytes are on the disk.
    static int syncFile(QFileDevice& file);
    // Gives a new file the permissions the user's other programs would give it.
    static void giveUsualPermissions(QFileDevice& file);
    // Renames `from` over `to`, replacing what is there.
    static int renameReplacing(const QString& from, const QString& to);
    // Renames without ever replacing what is at `to`, even something made meanwhile.
    static int renameKeepingExisting(const QString& from, const QString& to);
    // Waits until the folder's entries are on the disk.
    static int syncFolder(const QString& folder);
};
