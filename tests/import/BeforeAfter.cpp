// Writes the README's before/after picture. Above: the gold set saved as a
// JPEG at quality 50, coloured with one press per area as it is (left) and
// after the clean-up --add gives it (right). Below it: a coloured picture
// (left) and the page --add makes of it (right). At the bottom: a photograph
// and its page.
//   before_after OUTPUT.png

#include "GoldPlans.h"
#include "core/colour/FloodFill.h"
#include "import/GoldSet.h"
#include "import/PageCleaner.h"

#include <QCoreApplication>
#include <QPainter>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: before_after OUTPUT.png\n");
        return 2;
    }
    const QSize size(800, 600);
    QImage before = QImage::fromData(GoldSet::make(QStringLiteral("jpeg50"), size))
                        .convertToFormat(QImage::Format_RGB32);
    QImage after = PageCleaner::clean(PageCleaner::pictureAtSize(before, size))
                       .page.convertToFormat(QImage::Format_RGB32);
    const ColorRef colours[] = {rgbColour(255, 80, 80), rgbColour(255, 200, 0),
                                rgbColour(80, 160, 255), rgbColour(120, 200, 90),
                                rgbColour(200, 120, 255)};
    int next = 0;
    for (const QPoint& at : GoldSet::centres(size)) {
        const ColorRef colour = colours[next++ % 5];
        floodFill(before, at.x(), at.y(), colour);
        floodFill(after, at.x(), at.y(), colour);
    }
    const QImage coloured =
        QImage::fromData(GoldSet::make(GoldPlans::cartoon(), QStringLiteral("png"), size));
    const QImage page = PageCleaner::clean(PageCleaner::pictureAtSize(coloured, size)).page;
    const QImage photo = GoldSet::photo(size, 2);
    const QImage photoPage = PageCleaner::clean(photo).page;
    QImage out(size.width() * 2 + 24, size.height() * 3 + 48, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, before);
    p.drawImage(size.width() + 24, 0, after);
    p.drawImage(0, size.height() + 24, coloured);
    p.drawImage(size.width() + 24, size.height() + 24, page);
    p.drawImage(0, 2 * (size.height() + 24), photo);
    p.drawImage(size.width() + 24, 2 * (size.height() + 24), photoPage);
    p.end();
    return out.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
