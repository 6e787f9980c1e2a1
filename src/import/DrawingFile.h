#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class QPdfDocument;
class QSvgRenderer;

// A drawing to add, opened with the library that reads its format: Qt's
// image readers for pictures, Qt SVG, Qt PDF. A PDF holds one page per page
// of the document; everything else holds one. Throws Failure naming the file.
class DrawingFile {
public:
    DrawingFile(QString path, QSize largestPage);
    ~DrawingFile();
    DrawingFile(const DrawingFile&) = delete;
    DrawingFile& operator=(const DrawingFile&) = delete;

    const QString& path() const { return m_path; }
    int pageCount() const;

    // Page `index` (from 0) as a grey picture at the size it will have in
    // the book: vector drawings are drawn at that size, pictures scaled.
    QImage greyPage(int index);

private:
    void openPicture(const QByteArray& format);

    QString m_path;
    QSize m_largest;
    QImage m_picture;
    std::unique_ptr<QSvgRenderer> m_svg;
    std::unique_ptr<QPdfDocument> m_pdf;
};
