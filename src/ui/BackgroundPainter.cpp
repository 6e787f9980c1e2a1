#include "ui/BackgroundPainter.h"

#include "core/book/Failure.h"
#include "core/book/PictureLoader.h"
#include "core/geometry/Tiling.h"

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

QString BackgroundPainter::tileBackground(const QString& path, QPainter& painter,
                                          double innerWidthTwips, double innerHeightTwips)
{
    if (tilePicture.isNull()) {
        try {
            tilePicture = PictureLoader::load(path);
        } catch (const Failure& failure) {
            return reportOnce(path, failure.message());
        } catch (const std::bad_alloc&) {
            return reportOnce(
                path, Failure(path, QStringLiteral("No queda memoria para leerla.")).message());
        }
        m_reportedPath.clear();
        const QSize tile = Tiling::tileSizeInTwips(tilePicture.size());
        tileWidth = tile.width();
        tileHeight = tile.height();
    }
    const int width = m_zoom.widgetPixels(tileWidth);
    const int height = m_zoom.widgetPixels(tileHeight);
    Tiling::forEachTile(
        QSize(tileWidth, tileHeight), innerWidthTwips, innerHeightTwips, [&](int x, int y) {
            painter.drawImage(QRect(m_zoom.widgetPixels(x), m_zoom.widgetPixels(y), width, height),
                              tilePicture);
        });
    return {};
}
