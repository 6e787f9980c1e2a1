#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// What the hostile end-to-end cases need beyond the harness: awkward file
// contents, a record of every file the program must leave alone, and a small
// file system that runs out of room. Whatever it mounts is unmounted when it
// is destroyed, so a failing case never leaves a mount behind.
class HostileFolder {
public:
    HostileFolder() = default;
    ~HostileFolder();
    HostileFolder(const HostileFolder&) = delete;
    HostileFolder& operator=(const HostileFolder&) = delete;

    // --- What must not change ----------------------------------------------

    // Records every entry under `root` (hidden ones included, links not
    // followed): kind, permissions, and for files their bytes and times.
    // With `skipColouredCopies`, `dibujos/<N>.bmp` and the book's lock
    // `.tintaro.lock` are left out: those are the only files the program may
    // write or delete.
    void watch(const QString& root, bool skipColouredCopies);
    // Reads the watched roots again; one line per entry that appeared,
    // disappeared or changed. Empty when everything is as it was.
    QStringList changes() const;

    // --- Awkward contents ---------------------------------------------------

    // `size` bytes from a fixed-seed generator, never a carriage return, so
    // a text reader finds no line end in them.
    static QByteArray randomBytes(qsizetype size, quint32 seed);
    // A 24-bit BMP whose header claims `width` × `height` pixels, followed by
    // a few bytes of pixels only.
    static QByteArray bmpClaiming(qint32 width, qint32 height);
    static bool writeFile(const QString& path, const QByteArray& bytes);
    static QByteArray readFile(const QString& path);

    // --- A full disk ----------------------------------------------------------

    // Mounts a tmpfs of `bytes` over `folder` (which must exist). Needs the
    // super-user; false when the mount is refused.
    bool mountSmallDisk(const QString& folder, qint64 bytes);
    // Writes `folder/<name>` until at most `leaveFree` bytes are left on its
    // file system; returns the bytes then left, or -1 on failure.
    static qint64 fillDisk(const QString& folder, const QString& name, qint64 leaveFree);
    static qint64 bytesFree(const QString& folder);

private:
    struct Entry {
        QString kind; // "file", "dir", "link", "other"
        int permissions = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        QByteArray digest;
        QString linkTarget;

        bool operator==(const Entry& other) const;
    };
    using Snapshot = QMap<QString, Entry>;

    struct Root {
        QString path;
        bool skipColouredCopies = false;
        Snapshot before;
    };

    static Snapshot read(const QString& root, bool skipColouredCopies);
    static QString describe(const Entry& entry);

    QList<Root> m_roots;
    QStringList m_mounts;
};
