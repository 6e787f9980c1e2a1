#include "core/folders/AppFolders.h"

#include "core/book/DurableFile.h"
#include "core/book/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString kDrawings = QStringLiteral("dibujos");

bool isFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

QString checkedBook(const QString& option)
{
    QString book = QDir::cleanPath(QFileInfo(option).absoluteFilePath());
    const QFileInfo info(book);
    if (!info.exists())
        throw Failure(book, QStringLiteral("No encuentro la carpeta del libro."));
    if (!info.isDir())
        throw Failure(book, QStringLiteral("El libro tiene que ser una carpeta, y esto es un "
                                           "archivo."));
    // Without these, the folder's entries cannot be seen and it would seem to
    // have no drawings.
    if (!info.isReadable() || !info.isExecutable())
        throw Failure(book, QStringLiteral("No puedo abrir la carpeta del libro: no tengo "
                                           "permiso para leerla."));
    const QFileInfo drawings(book + QLatin1Char('/') + kDrawings);
    if (!drawings.isDir())
        throw Failure(book, QStringLiteral("La carpeta del libro no tiene la carpeta «dibujos» "
                                           "con los dibujos 1.gif, 2.gif, 3.gif…"));
    if (!drawings.isReadable() || !drawings.isExecutable())
        throw Failure(drawings.filePath(), QStringLiteral("No puedo leer la carpeta de los "
                                                          "dibujos."));
    return book;
}

// Copies each drawing of the sample book into the staging folder, each made
// durable as it is written.
void copyDrawings(const QString& sample, const QString& staging, const QString& target)
{
    const QStringList names = QDir(sample).entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile drawing(sample + QLatin1Char('/') + name);
        const QString shownName = target + QLatin1Char('/') + name;
        if (!drawing.open(QIODevice::ReadOnly))
            throw Failure(shownName, QStringLiteral("No puedo copiar el libro de muestra (%1).")
                                         .arg(drawing.errorString()));
        const QByteArray bytes = drawing.readAll();
        const auto error =
            DurableFile::write(staging + QLatin1Char('/') + name, QStringLiteral(".copia-XXXXXX"),
                               DurableFile::Mode::KeepExisting, [&bytes](QFileDevice& file) {
                                   return file.write(bytes) == bytes.size();
                               });
        if (error)
            throw Failure(shownName, QStringLiteral("No puedo copiar el libro de muestra: %1.")
                                         .arg(DurableFile::reason(*error, staging, bytes.size())));
    }
}

// The sample book is copied into a hidden folder first and then renamed into
// place, so that a start cut short never leaves half a book that later
// starts would take for the whole one. When another start made the book
// meanwhile, that book is used.
void copySampleBook(const QString& sample, const QString& book)
{
    const QString target = book + QLatin1Char('/') + kDrawings;
    if (!QDir().mkpath(book))
        throw Failure(book, QStringLiteral("No puedo crear la carpeta del libro."));
    QTemporaryDir staging(book + QStringLiteral("/.dibujos-XXXXXX"));
    if (!staging.isValid())
        throw Failure(book, QStringLiteral("No puedo escribir en la carpeta del libro (%1).")
                                .arg(staging.errorString()));
    try {
        copyDrawings(sample, staging.path(), target);
    } catch (const Failure&) {
        if (isFolder(target))
            return;
        throw;
    }
    const auto error = DurableFile::rename(staging.path(), target, DurableFile::Mode::KeepExisting);
    if (error && !isFolder(target))
        throw Failure(target, QStringLiteral("No puedo crear la carpeta de los dibujos: %1.")
                                  .arg(DurableFile::reason(*error, book, 0)));
    staging.setAutoRemove(error.has_value());
}

QString userBook(const QString& installed, const QString& userData)
{
    if (userData.isEmpty())
        throw Failure(QString(), QStringLiteral("No sé dónde guardar el libro: falta la carpeta "
                                                "de datos del usuario."));
    QString book = QDir::cleanPath(userData);
    if (!isFolder(book + QLatin1Char('/') + kDrawings)) {
        const QString sample = installed + QLatin1Char('/') + kDrawings;
        if (!isFolder(sample))
            throw Failure(sample, QStringLiteral("Falta el libro de muestra de la instalación."));
        copySampleBook(sample, book);
    }
    return book;
}

} // namespace

AppFolders::AppFolders(QString programFolder)
    : m_data(programFolder), m_book(std::move(programFolder))
{
}

AppFolders::AppFolders(Mode mode, QString dataFolder, QString bookFolder)
    : m_mode(mode), m_data(std::move(dataFolder)), m_book(std::move(bookFolder))
{
}

AppFolders AppFolders::resolve(const Places& places)
{
    const QString beside = QDir::cleanPath(places.executableFolder);
    const QString installed =
        QDir::cleanPath(beside + QLatin1Char('/') + places.dataFromExecutable);
    // Without an installed data folder either, the program stays portable, and
    // its start-up says that the book has no drawings, as it always has.
    const bool portable = isFolder(beside + QLatin1Char('/') + kDrawings) || !isFolder(installed);
    const Mode mode = portable ? Mode::Portable : Mode::Installed;
    const QString data = portable ? beside : installed;
    if (!places.bookOption.isEmpty())
        return {mode, data, checkedBook(places.bookOption)};
    if (portable)
        return AppFolders(beside);
    return {mode, data, userBook(installed, places.userDataFolder)};
}
