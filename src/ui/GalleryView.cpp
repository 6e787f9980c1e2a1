#include "ui/GalleryView.h"

#include "core/session/PageSession.h"
#include "ui/FailureBoundary.h"
#include "ui/PagePictureMaker.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QScroller>
#include <QStyleHints>

#include <cmath>
#include <optional>

namespace {

const QColor kBackdrop(206, 232, 255);
const QColor kPaper(255, 255, 255);
const QColor kWaiting(236, 236, 236);
const QColor kShownFrame(255, 140, 0);
const QColor kNumberPlate(40, 40, 80);

// The keys that turn pages in the main window scroll the view instead.
std::optional<QAbstractSlider::SliderAction> scrollFor(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_Right:
        return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_Home:
        return QAbstractSlider::SliderToMinimum;
    case Qt::Key_End:
        return QAbstractSlider::SliderToMaximum;
    default:
        return std::nullopt;
    }
}

} // namespace

GalleryView::GalleryView(const DisplayZoom& zoom, QWidget* parent)
    : QAbstractScrollArea(parent), m_zoom(zoom)
{
    setObjectName(QStringLiteral("galleryView"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackdrop);
    colours.setColor(QPalette::Base, kBackdrop);
    setPalette(colours);
    setAutoFillBackground(true);
    viewport()->setAutoFillBackground(true);
    // A finger's drag scrolls and flings; a tap still reaches the page.
    QScroller::grabGesture(viewport(), QScroller::LeftMouseButtonGesture);

    m_backButton = new QPushButton(QStringLiteral("Volver"), this);
    m_backButton->setObjectName(QStringLiteral("galleryBackButton"));
    m_backButton->setFocusPolicy(Qt::NoFocus);
    connect(m_backButton, &QPushButton::clicked, this, &GalleryView::closeView);
    m_title = new QLabel(QStringLiteral("Todas las páginas"), this);
    m_title->setAlignment(Qt::AlignCenter);

    m_maker = new PagePictureMaker(this);
    connect(m_maker, &PagePictureMaker::made, this, &GalleryView::onMade);
    connect(m_maker, &PagePictureMaker::failed, this, &GalleryView::onFailed);
    hide();
}

void GalleryView::open(const PageSession& session)
{
    m_book = session.book();
    m_pageCount = session.state().pageCount;
    m_currentPage = session.state().currentPage;
    m_currentPicture = session.page();
    m_unreadable.clear();
    setGeometry(parentWidget()->rect());
    layOut(true);
    verticalScrollBar()->setValue(m_grid.scrollShowing(m_currentPage));
    show();
    raise();
    setFocus();
    viewport()->update();
}

int GalleryView::scaled(int pixels) const
{
    return std::max(1, static_cast<int>(std::lround(pixels * m_zoom.widgetScale())));
}

void GalleryView::layOut(bool anew)
{
    const QSize oldBox = pictureBox();
    m_grid = GalleryGrid(size(), m_pageCount, m_zoom.widgetScale());
    setViewportMargins(0, m_grid.bandHeight(), 0, 0);
    verticalScrollBar()->setRange(0, m_grid.maxScroll());
    verticalScrollBar()->setPageStep(m_grid.viewport().height());
    verticalScrollBar()->setSingleStep((m_grid.cellSize().height() + m_grid.gap()) / 3);

    const int band = m_grid.bandHeight();
    const int gap = m_grid.gap();
    QFont big = font();
    big.setPixelSize(scaled(30));
    big.setBold(true);
    m_backButton->setFont(big);
    m_backButton->setGeometry(gap, gap / 2, scaled(220), band - gap);
    m_title->setGeometry(scaled(220) + 2 * gap, 0, width() - 2 * (scaled(220) + 2 * gap), band);
    // On a narrow screen the title gets smaller rather than cut at both sides.
    while (big.pixelSize() > 8 &&
           QFontMetrics(big).horizontalAdvance(m_title->text()) > m_title->width())
        big.setPixelSize(big.pixelSize() - 1);
    m_title->setFont(big);

    if (anew || pictureBox() != oldBox) {
        // Pictures of another size are no use: make them again.
        m_pictures.reset(m_grid.cachedPictures());
        if (m_book)
            m_maker->setBook(*m_book);
        m_currentSmall = PagePictures::small(m_currentPicture, pictureBox());
    }
}

QSize GalleryView::pictureBox() const
{
    const int inset = 2 * scaled(6);
    const QSize box = m_grid.cellSize() - QSize(inset, inset);
    return box * devicePixelRatioF();
}

int GalleryView::picturesAwaited() const
{
    const GalleryGrid::PageRange shown = m_grid.visible(verticalScrollBar()->value());
    int awaited = 0;
    for (int page = shown.first; page <= shown.last; ++page) {
        if (page != m_currentPage && !m_pictures.has(page) && !m_unreadable.contains(page))
            ++awaited;
    }
    return awaited;
}

bool GalleryView::event(QEvent* event)
{
    // Every key is the view's while it is open: the page keys scroll it and
    // the main window's keys must not act on the page behind.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void GalleryView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    layOut(false);
}

void GalleryView::scrollContentsBy(int, int)
{
    // Pages scrolled past before their turn are not made at all.
    m_maker->dropWaiting();
    viewport()->update();
}

void GalleryView::paintEvent(QPaintEvent*)
{
    FailureBoundary::run([this] { paintCells(); });
}

void GalleryView::paintCells()
{
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const int scroll = verticalScrollBar()->value();
    const GalleryGrid::PageRange shown = m_grid.visible(scroll);
    for (int page = shown.first; page <= shown.last; ++page)
        paintCell(painter, page, m_grid.cell(page).translated(0, -scroll));
}

const QImage* GalleryView::pictureOf(int page)
{
    if (page == m_currentPage)
        return &m_currentSmall;
    const QImage* picture = m_pictures.find(page);
    if (!picture && !m_unreadable.contains(page))
        m_maker->ask(page, pictureBox());
    return picture;
}

void GalleryView::paintCell(QPainter& painter, int page, const QRect& at)
{
    const int shadow = scaled(3);
    painter.fillRect(at.translated(shadow, shadow), QColor(0, 0, 0, 60));
    const QImage* picture = pictureOf(page);
    painter.fillRect(at, picture ? kPaper : kWaiting);
    if (picture) {
        // Whole pixels: at the screen's own scale the picture is copied, not resampled.
        const QSize size = (QSizeF(picture->size()) / devicePixelRatioF()).toSize();
        const QPoint corner =
            at.topLeft() + QPoint(at.width() - size.width(), at.height() - size.height()) / 2;
        painter.drawImage(QRect(corner, size), *picture);
    } else if (m_unreadable.contains(page)) {
        QFont note = font();
        note.setPixelSize(scaled(16));
        painter.setFont(note);
        painter.setPen(Qt::darkGray);
        painter.drawText(at.adjusted(scaled(10), 0, -scaled(10), 0),
                         Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("No se puede leer esta página: ") + m_unreadable[page]);
    }
    if (page == m_currentPage) {
        const int frame = scaled(5);
        painter.setPen(QPen(kShownFrame, frame, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(at.adjusted(-frame / 2, -frame / 2, frame / 2, frame / 2));
    }
    paintNumber(painter, page, at);
}

void GalleryView::paintNumber(QPainter& painter, int page, const QRect& at) const
{
    QFont number = font();
    number.setPixelSize(scaled(18));
    number.setBold(true);
    painter.setFont(number);
    const QString text = QString::number(page);
    const QSize plate(QFontMetrics(number).horizontalAdvance(text) + scaled(12), scaled(26));
    const QRect where(at.bottomRight() - QPoint(plate.width(), plate.height()) + QPoint(1, 1),
                      plate);
    painter.fillRect(where, kNumberPlate);
    painter.setPen(Qt::white);
    painter.drawText(where, Qt::AlignCenter, text);
}

void GalleryView::onMade(int page, const QImage& picture)
{
    m_pictures.cache(page, picture);
    updatePage(page);
}

void GalleryView::onFailed(int page, const QString& reason)
{
    m_unreadable.insert(page, reason);
    updatePage(page);
}

void GalleryView::updatePage(int page)
{
    const int shadow = scaled(3);
    viewport()->update(m_grid.cell(page)
                           .translated(0, -verticalScrollBar()->value())
                           .adjusted(0, 0, shadow, shadow));
}

void GalleryView::mousePressEvent(QMouseEvent* event)
{
    m_pressedAt = event->position().toPoint();
}

void GalleryView::mouseReleaseEvent(QMouseEvent* event)
{
    // A tap, not the end of a drag.
    const QPoint at = event->position().toPoint();
    const int slack = scaled(QGuiApplication::styleHints()->startDragDistance());
    if (event->button() != Qt::LeftButton || (at - m_pressedAt).manhattanLength() > slack)
        return;
    const int page = m_grid.pageAt(at + QPoint(0, verticalScrollBar()->value()));
    if (page == 0)
        return;
    closeView();
    emit pageChosen(page);
}

void GalleryView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        closeView();
    else if (const std::optional<QAbstractSlider::SliderAction> step = scrollFor(event->key()))
        verticalScrollBar()->triggerAction(*step);
    else
        QAbstractScrollArea::keyPressEvent(event); // up, down and the page keys
}

void GalleryView::closeView()
{
    m_maker->dropWaiting();
    hide();
    if (QWidget* window = parentWidget())
        window->setFocus();
}
