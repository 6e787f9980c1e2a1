#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The sample book: line drawings for small children, one page each.
class BookDrawings {
public:
    static QImage house();
    static QImage fish();
    static QImage flower();
    static QImage car();
    static QImage cat();
    static QImage butterfly();

    // In page order.
    static QList<QImage> all();
    // dibujos/1.gif, dibujos/2.gif, ... in the program folder.
    static void writeAll(const QString& programDir);
};
