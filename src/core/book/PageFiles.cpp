#include "core/book/PageFiles.h"

#include "core/book/Failure.h"
#include "core/book/SystemReason.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace {

bool isOrdinaryFile(const QFileInfo& info)
{
    return info.isFile() && !info.fileName().startsWith(QLatin1Char('.'));
}

QString folded(const QString& name)
{
    return name.toCaseFolded();
}

} // namespace

QString pageFilePath(const QString& programFolder, int page, const QString& extension)
{
    return programFolder + QStringLiteral("/dibujos/") + QString::number(page) + extension;
}

QString lookUpFileName(const QString& path)
{
    const QFileInfo exact(path);
    if (isOrdinaryFile(exact))
        return exact.fileName();
    FolderIndex index(exact.absolutePath());
    return index.findFileName(exact.fileName());
}

bool passesAnyMatchTest(const QString& path)
{
    return !lookUpFileName(path).isEmpty();
}

bool passesExactNameTest(const QString& path)
{
    // The exact spelling wins the look-up, so one stat answers this test.
    return isOrdinaryFile(QFileInfo(path));
}

FolderIndex::FolderIndex(QString folder) : m_folder(std::move(folder)) {}

QString FolderIndex::findFileName(const QString& name)
{
    const QFileInfo exact(m_folder + QLatin1Char('/') + name);
    if (isOrdinaryFile(exact))
        return name;
    if (!m_byFoldedName) {
        m_byFoldedName.emplace();
        const QStringList names = QDir(m_folder).entryList(QDir::Files | QDir::System, QDir::Name);
        for (const QString& entry : names) {
            if (!entry.startsWith(QLatin1Char('.')))
                (*m_byFoldedName)[folded(entry)].append(entry);
        }
    }
    const auto it = m_byFoldedName->constFind(folded(name));
    if (it == m_byFoldedName->constEnd())
        return {};
    for (const QString& candidate : *it) {
        if (isOrdinaryFile(QFileInfo(m_folder + QLatin1Char('/') + candidate)))
            return candidate;
    }
    return {};
}

int FolderIndex::countPages(int limit)
{
    return firstMissing(1, limit + 1) - 1;
}

int FolderIndex::firstMissing(int from, int limit)
{
    int page = from;
    while (page < limit && !findFileName(QString::number(page) + QStringLiteral(".gif")).isEmpty())
        ++page;
    return page;
}

QByteArray firstLineOf(const QByteArray& content)
{
    // Editors on Windows may start a UTF-8 file with a byte-order mark.
    static const QByteArray byteOrderMark("\xEF\xBB\xBF");
    const qsizetype start = content.startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    qsizetype end = start;
    while (end < content.size() && content[end] != '\r' && content[end] != '\n')
        ++end;
    return content.mid(start, end - start);
}

bool switchKeepsCopies(const QByteArray& line)
{
    return line.toUpper() == "NO";
}

QByteArray readSwitchLine(const QString& programFolder)
{
    const QString path = programFolder + QStringLiteral("/borra.txt");
    if (!passesExactNameTest(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(
            path,
            QStringLiteral("No puedo leer el archivo de ajustes: %1.").arg(systemReason(errno)));
    // Only "NO" keeps the copies, so a few bytes decide the answer (a byte-order
    // mark, two letters, one line end); a huge file with no line end is never
    // read whole.
    QByteArray head = file.read(6);
    if (head.isNull() && file.error() != QFileDevice::NoError)
        throw Failure(
            path,
            QStringLiteral("No puedo leer el archivo de ajustes: %1.").arg(systemReason(errno)));
    return firstLineOf(head);
}
