#pragma once

#include <QString>
#include <functional>
#include <optional>

class QFileDevice;

// The one way Tintaro puts a file in place: written to a hidden temporary
// beside it, synced to the disk, renamed over the name, and the folder synced.
// A crash or a power cut at any instant leaves either the old file (or none)
// or the whole new one, and a link at the name is replaced, never written
// through. The new file gets what the user's umask allows.
class DurableFile {
public:
    enum class Mode { Replace, KeepExisting };

    // Why a write failed: the system's error number, 0 when unknown.
    struct Error {
        int code = 0;
    };
    using Writer = std::function<bool(QFileDevice& file)>;

    // `hiddenPattern` names the temporary inside the target's folder: a name
    // that starts with a dot and ends in XXXXXX, so that start-up can tell
    // the leftovers of a cut write by their exact pattern. With KeepExisting
    // the rename never replaces a file already there (EEXIST). Returns the
    // error, or nothing when the file is in place.
    static std::optional<Error> write(const QString& path, const QString& hiddenPattern, Mode mode,
                                      const Writer& writer);

    // Renames a finished temporary file or folder into place; a failing sync
    // of the folder afterwards is only a warning, since the rename is done.
    static std::optional<Error> rename(const QString& from, const QString& to, Mode mode);

    // Waits until the folder's entries reach the disk; false when they could not.
    static bool syncFolder(const QString& folder);

    // Why a file could not be written in that folder, in words a parent understands.
    static QString reason(Error error, const QString& folder, qint64 needed);

private:
    // Writes and syncs a new file named after `pattern`; its name in `name`.
    static std::optional<Error> writeHidden(const QString& pattern, const Writer& writer,
                                            QString* name);
};
