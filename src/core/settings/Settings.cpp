#include "core/settings/Settings.h"

#include "core/book/DurableFile.h"
#include "core/book/Failure.h"
#include "core/book/PageFiles.h"
#include "core/book/SystemReason.h"
#include "core/settings/SettingsFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <cerrno>

namespace {

const QString kChildLock = QStringLiteral("candado");
const QString kSounds = QStringLiteral("sonidos");

// Named here rather than taken from the application, so that the program,
// its settings window and the tests all reach the same file.
QSettings userStore()
{
    return QSettings(SettingsFormat::format(), QSettings::UserScope, QStringLiteral("Tintaro"),
                     QStringLiteral("tintaro"));
}

QString switchFile(const QString& book)
{
    return book + QStringLiteral("/borra.txt");
}

void writeKeepSwitch(const QString& path)
{
    // A line end the book's first home understands as well.
    const QByteArray line = "NO\r\n";
    const auto error =
        DurableFile::write(path, QStringLiteral(".borra.txt.XXXXXX"), DurableFile::Mode::Replace,
                           [&line](QFileDevice& file) { return file.write(line) == line.size(); });
    if (error)
        throw Failure(path, QStringLiteral("No puedo guardar el ajuste: %1.")
                                .arg(DurableFile::reason(*error, QFileInfo(path).path(), 4)));
}

void removeKeepSwitch(const QString& book, const QString& path)
{
    QFile file(path);
    if (!file.remove())
        throw Failure(
            path,
            QStringLiteral("No puedo borrar el archivo de ajustes: %1.").arg(systemReason(errno)));
    DurableFile::syncFolder(book);
}

} // namespace

Settings Settings::load()
{
    const QSettings store = userStore();
    Settings settings;
    settings.m_childLock = store.value(kChildLock, false).toBool();
    settings.m_sounds = store.value(kSounds, true).toBool();
    return settings;
}

void Settings::save() const
{
    QSettings store = userStore();
    store.setValue(kChildLock, m_childLock);
    store.setValue(kSounds, m_sounds);
    store.sync();
    if (store.status() != QSettings::NoError)
        throw Failure(store.fileName(),
                      QStringLiteral("No puedo guardar los ajustes: la carpeta es de solo "
                                     "lectura, no tengo permiso o el archivo está dañado."));
}

bool Settings::childLockNow() const
{
    return m_childLock || m_lockedForThisRun;
}

bool Settings::keepsColouringOvernight(const QString& book)
{
    return switchKeepsCopies(readSwitchLine(book));
}

void Settings::setKeepsColouringOvernight(const QString& book, bool keep)
{
    // Only a file that says otherwise is touched: one saying "SI" already deletes.
    if (keepsColouringOvernight(book) == keep)
        return;
    const QString path = switchFile(book);
    if (keep)
        writeKeepSwitch(path);
    else
        removeKeepSwitch(book, path);
}
