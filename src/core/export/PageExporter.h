#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

// A page exported as a picture, for the family to send or print elsewhere: a PNG
// named after the page and the moment, never written over an existing file.
class PageExporter {
public:
    // "pagina-N-YYYYMMDD-HHMMSS.png"; later tries in the same second add
    // "-2", "-3" … before the suffix.
    static QString fileName(int page, const QDateTime& at, int attempt = 1);

    // Writes `image` into `folder`, made when missing, under the first free
    // name, and returns its path. The picture appears whole or not at all.
    // Throws SaveFailure naming the file or folder and the reason.
    static QString exportPage(const QImage& image, int page, const QString& folder,
                              const QDateTime& at);
};
