#include "e2e/HostileFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtEndian>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

bool runQuietly(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return false;
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(2000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void putLittleEndian32(QByteArray& bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void putLittleEndian16(QByteArray& bytes, qsizetype at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

} // namespace

HostileFolder::~HostileFolder()
{
    // Last mounted, first unmounted; a busy mount is detached lazily so the
    // temporary folders under it can still be removed.
    for (auto it = m_mounts.crbegin(); it != m_mounts.crend(); ++it) {
        if (!runQuietly(QStringLiteral("umount"), {*it}))
            runQuietly(QStringLiteral("umount"), {QStringLiteral("-l"), *it});
    }
}

// --- What must not change ------------------------------------------------------

bool HostileFolder::Entry::operator==(const Entry& other) const
{
    return kind == other.kind && permissions == other.permissions && size == other.size &&
           modifiedNs == other.modifiedNs && digest == other.digest &&
           linkTarget == other.linkTarget;
}

void HostileFolder::watch(const QString& root, bool skipColouredCopies)
{
    m_roots.append({root, skipColouredCopies, read(root, skipColouredCopies)});
}

HostileFolder::Snapshot HostileFolder::read(const QString& root, bool skipColouredCopies)
{
    // The coloured copies, and the lock the running program holds on its book.
    static const QRegularExpression colouredCopy(
        QStringLiteral("^(dibujos/[0-9]+\\.bmp|\\.tintaro\\.lock)$"));
    Snapshot snapshot;
    const QDir base(root);
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = base.relativeFilePath(path);
        if (skipColouredCopies && colouredCopy.match(relative).hasMatch())
            continue;
        struct stat status {};
        Entry entry;
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
            entry.kind = QStringLiteral("unreadable");
            snapshot.insert(relative, entry);
            continue;
        }
        entry.permissions = static_cast<int>(status.st_mode & 07777);
        if (S_ISLNK(status.st_mode)) {
            entry.kind = QStringLiteral("link");
            entry.linkTarget = QFile::symLinkTarget(path);
        } else if (S_ISDIR(status.st_mode)) {
            // A folder's own times change whenever a coloured copy comes or
            // goes; only its being there and its permissions matter.
            entry.kind = QStringLiteral("dir");
        } else if (S_ISREG(status.st_mode)) {
            entry.kind = QStringLiteral("file");
            entry.size = status.st_size;
            entry.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
            QFile file(path);
            QCryptographicHash hash(QCryptographicHash::Sha256);
            if (file.open(QIODevice::ReadOnly) && hash.addData(&file))
                entry.digest = hash.result();
        } else {
            entry.kind = QStringLiteral("other");
        }
        snapshot.insert(relative, entry);
    }
    return snapshot;
}

QString HostileFolder::describe(const Entry& entry)
{
    QString text = QStringLiteral("%1 mode %2").arg(entry.kind).arg(entry.permissions, 4, 8);
    if (entry.kind == QStringLiteral("file"))
        text += QStringLiteral(", %1 bytes, mtime %2 ns, sha256 %3")
                    .arg(entry.size)
                    .arg(entry.modifiedNs)
                    .arg(QString::fromLatin1(entry.digest.toHex().left(16)));
    if (entry.kind == QStringLiteral("link"))
        text += QStringLiteral(" -> ") + entry.linkTarget;
    return text;
}

QStringList HostileFolder::changes() const
{
    QStringList lines;
    for (const Root& root : m_roots) {
        const Snapshot after = read(root.path, root.skipColouredCopies);
        for (auto it = root.before.cbegin(); it != root.before.cend(); ++it) {
            const QString where = root.path + QLatin1Char('/') + it.key();
            const auto now = after.constFind(it.key());
            if (now == after.cend())
                lines.append(QStringLiteral("gone: %1 (was %2)").arg(where, describe(it.value())));
            else if (!(now.value() == it.value()))
                lines.append(QStringLiteral("changed: %1 (was %2, now %3)")
                                 .arg(where, describe(it.value()), describe(now.value())));
        }
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            if (!root.before.contains(it.key()))
                lines.append(QStringLiteral("new: %1/%2 (%3)")
                                 .arg(root.path, it.key(), describe(it.value())));
        }
    }
    return lines;
}

// --- Awkward contents -------------------------------------------------------------

QByteArray HostileFolder::randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        char byte = static_cast<char>(generator.bounded(256));
        if (byte == '\r')
            byte = '\n';
        bytes[i] = byte;
    }
    return bytes;
}

QByteArray HostileFolder::bmpClaiming(qint32 width, qint32 height)
{
    constexpr int kHeaders = 14 + 40;
    constexpr int kPixels = 64;
    QByteArray bytes(kHeaders + kPixels, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittleEndian32(bytes, 2, kHeaders + kPixels); // file size
    putLittleEndian32(bytes, 10, kHeaders);          // offset of the pixels
    putLittleEndian32(bytes, 14, 40);                // BITMAPINFOHEADER
    putLittleEndian32(bytes, 18, quint32(width));    // width
    putLittleEndian32(bytes, 22, quint32(height));   // height, bottom-up
    putLittleEndian16(bytes, 26, 1);                 // planes
    putLittleEndian16(bytes, 28, 24);                // bits per pixel
    putLittleEndian32(bytes, 30, 0);                 // no compression
    putLittleEndian32(bytes, 38, 2835);              // 72 dpi across
    putLittleEndian32(bytes, 42, 2835);              // 72 dpi down
    for (int i = kHeaders; i < kHeaders + kPixels; ++i)
        bytes[i] = static_cast<char>(0xff);
    return bytes;
}

bool HostileFolder::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size() && file.flush();
}

QByteArray HostileFolder::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// --- A full disk ----------------------------------------------------------------------

bool HostileFolder::mountSmallDisk(const QString& folder, qint64 bytes)
{
    if (::geteuid() != 0 || !QDir(folder).exists())
        return false;
    if (!runQuietly(QStringLiteral("mount"),
                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                     QStringLiteral("size=%1").arg(bytes), QStringLiteral("tmpfs"), folder}))
        return false;
    m_mounts.append(folder);
    return true;
}

qint64 HostileFolder::bytesFree(const QString& folder)
{
    struct statvfs status {};
    if (::statvfs(QFile::encodeName(folder).constData(), &status) != 0)
        return -1;
    return qint64(status.f_bavail) * qint64(status.f_frsize);
}

qint64 HostileFolder::fillDisk(const QString& folder, const QString& name, qint64 leaveFree)
{
    QFile filler(folder + QLatin1Char('/') + name);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append))
        return -1;
    const QByteArray block(4096, 'x');
    for (;;) {
        const qint64 free = bytesFree(folder);
        if (free < 0)
            return -1;
        if (free <= leaveFree)
            return free;
        const qint64 chunk = qMin<qint64>(block.size(), free - leaveFree);
        if (filler.write(block.constData(), chunk) != chunk || !filler.flush())
            return -1;
    }
}
