#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

class VectorDrawing;

// A drawing to add, opened with the library that reads its format: Qt's
// image readers for pictures, VectorDrawing for SVG and PDF; the format is told by the
// signature the file starts with. A PDF holds one page per sheet; everything
// else holds one. Throws Failure naming the file.
class DrawingFile {
public:
    // The largest picture read, in points: about an A4 page at 1000 dpi.
    static constexpr qint64 kMaxPixels = 100'000'000;
    // A picture is decoded at most once at full size, at 4 bytes a point.
    static constexpr int kMaxMegabytes = int(kMaxPixels * 4 / (qint64(1024) * 1024)) + 1;

    DrawingFile(QString path, QSize largestPage);
    ~DrawingFile();
    DrawingFile(const DrawingFile&) = delete;
    DrawingFile& operator=(const DrawingFile&) = delete;

    // The kinds of file this build reads, for a person: "PNG, JPEG, GIF,
    // BMP, WebP, TIFF, SVG o PDF" where every reader is there.
    static QString readableKinds();
    // The file name patterns of those kinds, for a file dialog's filter.
    static QStringList readablePatterns();

    const QString& path() const { return m_path; }
    int pageCount() const;

    // Page `index` (from 0) in colour at the size it will have in the book:
    // vector drawings are drawn at that size, pictures scaled. Throws
    // Failure naming the sheet when a PDF sheet cannot be drawn.
    QImage page(int index);

private:
    void openPicture(const QByteArray& format);

    QString m_path;
    QSize m_largest;
    QImage m_picture;
    QSize m_pictureSize; // the size the page of a picture gets
    std::unique_ptr<VectorDrawing> m_vector;
};
