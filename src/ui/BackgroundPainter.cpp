#include "ui/BackgroundPainter.h"

#include "book/Failure.h"
#include "book/PictureLoader.h"
#include "geometry/Tiling.h"
#include "geometry/Units.h"

#include <QPainter>
#include <new>

QString BackgroundPainter::failureText(const QString& reason)
{
    return QStringLiteral("No encuentro la imagen de fondo \r\nERROR: ") + reason;
}

QString BackgroundPainter::reportOnce(const QString& path, const QString& message)
{
    // Closing the message uncovers the window and asks for another repaint:
    // report each failing file once, until a load succeeds.
    if (m_reportedPath == path)
        return {};
    m_reportedPath = path;
    return failureText(message);
}

QString BackgroundPainter::TileBackground(const QString& path, QPainter& painter,
                                          double innerWidthTwips, double innerHeightTwips)
{
    if (TilePicture.isNull()) {
        try {
            TilePicture = PictureLoader::load(path);
        } catch (const Failure& failure) {
            return reportOnce(path, failure.message());
        } catch (const std::bad_alloc&) {
            return reportOnce(
                path, Failure(path, QStringLiteral("No queda memoria para leerla.")).message());
        }
        m_reportedPath.clear();
        const QSize tile = Tiling::tileSizeInTwips(TilePicture.size());
        TileWidth = tile.width();
        TileHeight = tile.height();
    }
    const int width = widgetPixels(TileWidth);
    const int height = widgetPixels(TileHeight);
    Tiling::forEachTile(
        QSize(TileWidth, TileHeight), innerWidthTwips, innerHeightTwips, [&](int x, int y) {
            painter.drawImage(QRect(widgetPixels(x), widgetPixels(y), width, height), TilePicture);
        });
    return {};
}
