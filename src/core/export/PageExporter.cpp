#include "core/export/PageExporter.h"

#include "core/book/DurableFile.h"
#include "core/book/Failure.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace {

constexpr int kMaxAttempts = 1000;

[[noreturn]] void exportFailed(const QString& path, DurableFile::Error error, const QImage& image)
{
    const qint64 needed = qint64(image.sizeInBytes());
    throw SaveFailure(path, QStringLiteral("No puedo guardar la imagen: %1.")
                                .arg(DurableFile::reason(error, QFileInfo(path).path(), needed)));
}

} // namespace

QString PageExporter::fileName(int page, const QDateTime& at, int attempt)
{
    const QString stem = QStringLiteral("pagina-%1-%2")
                             .arg(page)
                             .arg(at.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    return attempt > 1 ? QStringLiteral("%1-%2.png").arg(stem).arg(attempt) : stem + ".png";
}

QString PageExporter::exportPage(const QImage& image, int page, const QString& folder,
                                 const QDateTime& at)
{
    errno = 0;
    if (!QDir().mkpath(folder))
        exportFailed(folder, {errno}, image);
    // A picture already there keeps its name: the next free one is taken.
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        QString path = folder + QLatin1Char('/') + fileName(page, at, attempt);
        const auto error = DurableFile::write(
            path, QStringLiteral(".pagina-XXXXXX"), DurableFile::Mode::KeepExisting,
            [&image](QFileDevice& file) { return image.save(&file, "PNG"); });
        if (!error)
            return path;
        if (error->code != EEXIST)
            exportFailed(path, *error, image);
    }
    exportFailed(folder + QLatin1Char('/') + fileName(page, at), {EEXIST}, image);
}
