#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

// A drawing made of lines and shapes rather than points (SVG, PDF), drawn
// at the size its pages get in the book. Each kind is read only when the
// build has its Qt module; without it, opening one is refused in words that
// name the file and say this version cannot read that kind. The reader or
// the refusal is chosen by the build (SvgDrawing.cpp or WithoutSvg.cpp, and
// the same for PDF).
class VectorDrawing {
public:
    virtual ~VectorDrawing() = default;
    virtual int pageCount() const = 0;
    // Page `index` (from 0) in colour; throws Failure naming the sheet when
    // it cannot be drawn.
    virtual QImage page(int index) = 0;

    static bool readsSvg();
    static bool readsPdf();
    // Both throw Failure naming the file when it cannot be read.
    static std::unique_ptr<VectorDrawing> openSvg(const QString& path, QSize largestPage);
    static std::unique_ptr<VectorDrawing> openPdf(const QString& path, QSize largestPage);
};
