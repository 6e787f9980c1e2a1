#pragma once

#include "core/geometry/DisplayZoom.h"

#include "core/book/PageBook.h"
#include "core/gallery/GalleryGrid.h"
#include "core/gallery/PagePictures.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>

#include <optional>

class PageSession;
class PagePictureMaker;
class QLabel;
class QPushButton;

// Every page of the book at a glance, over the whole main window: each page as
// it is now, its number in a corner, in a grid of big targets that scrolls by
// a finger's drag, the wheel and the keys. A tap on a page chooses it; the back
// button or Esc closes the view and changes nothing. Pictures are made only
// for the pages on screen, away from the window's thread, and a bounded number
// kept, so a book of any length opens at once.
class GalleryView : public QAbstractScrollArea {
    Q_OBJECT
public:
    GalleryView(const DisplayZoom& zoom, QWidget* parent);

    // Covers the parent and shows the session's book, the page on show with
    // its colours as they are now, scrolled to show that page.
    void open(const PageSession& session);
    // Pages on screen whose pictures are not made yet.
    int picturesAwaited() const;
    const GalleryGrid& grid() const { return m_grid; }

signals:
    void pageChosen(int page);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void layOut(bool anew);
    void closeView();
    QSize pictureBox() const;
    const QImage* pictureOf(int page);
    void paintCells();
    void paintCell(QPainter& painter, int page, const QRect& at);
    void paintNumber(QPainter& painter, int page, const QRect& at) const;
    void onMade(int page, const QImage& picture);
    void onFailed(int page, const QString& reason);
    void updatePage(int page);
    int scaled(int pixels) const;

    DisplayZoom m_zoom;
    PagePictureMaker* m_maker = nullptr;
    QPushButton* m_backButton = nullptr;
    QLabel* m_title = nullptr;
    GalleryGrid m_grid;
    PagePictures m_pictures;
    QHash<int, QString> m_unreadable;
    std::optional<PageBook> m_book; // the session's, from the first open on
    int m_pageCount = 0;
    int m_currentPage = 0;
    QImage m_currentPicture; // the page on show, as the session has it
    QImage m_currentSmall;
    QPoint m_pressedAt{-1, -1};
};
