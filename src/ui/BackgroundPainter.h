#pragma once

#include "core/geometry/DisplayZoom.h"

#include <QImage>
#include <QString>

class QPainter;

// Covers a window with copies of a picture like wallpaper. The picture is
// loaded on the first call that succeeds and kept for the rest of the run.
class BackgroundPainter {
public:
    explicit BackgroundPainter(const DisplayZoom& zoom) : m_zoom(zoom) {}

    // Tiles the window; on a failure returns the text of the report to show
    // (empty when there is nothing to report, including a failure already
    // reported for the same file since the last successful load).
    QString tileBackground(const QString& path, QPainter& painter, double innerWidthTwips,
                           double innerHeightTwips);

    static QString failureText(const QString& reason);

    QImage tilePicture;
    int tileWidth = 0;  // twips
    int tileHeight = 0; // twips

private:
    QString reportOnce(const QString& path, const QString& message);
    DisplayZoom m_zoom;
    QString m_reportedPath;
};
