#include "core/book/BookFolder.h"
#include "core/geometry/DisplayZoom.h"
#include "core/geometry/Units.h"
#include "core/geometry/Zoom.h"
#include "ui/Canvas.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

#include <QBackingStore>
#include <QClipboard>
#include <QPainter>
#include <QPointingDevice>
#include <QtTest>
#include <memory>

// The main window at a forced zoom, pressed with the mouse and with a finger.
class ZoomedMainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pressFillsThePixelUnderIt_data();
    void pressFillsThePixelUnderIt();
    void fingerWorksLikeTheMouse();

private:
    void start(double zoom);
    // A widget point on a page pixel's block: its first or last device pixel.
    QPoint onPagePixel(QPoint pixel, bool last) const;
    // What the window shows at a point of the canvas, from its backing store.
    QRgb shownPixel(QPoint at) const
    {
        const QWidget* canvas = m_window->canvas();
        const auto* store = static_cast<const QImage*>(m_window->backingStore()->paintDevice());
        return store->pixel(canvas->mapTo(m_window, at)) | 0xFF000000u;
    }
    QRgb pagePixel(QPoint pixel) const
    {
        return m_window->canvas()->picture().pixel(pixel) | 0xFF000000u;
    }

    BookFolder* m_book = nullptr;
    MainWindow* m_window = nullptr;
    Zoom m_zoom;
};

void ZoomedMainWindowTest::init()
{
    // A 64 × 48 page: a black ring, one pixel wide, around a white middle.
    m_book = new BookFolder;
    QImage page(64, 48, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setPen(Qt::black);
    painter.drawRect(10, 10, 39, 19);
    painter.end();
    for (const char* name : {"1.gif", "2.gif"})
        page.save(m_book->drawing(name), "BMP");
    QFile::copy(m_book->drawing("1.gif"), m_book->path() + "/fondo.gif");
}

void ZoomedMainWindowTest::start(double zoom)
{
    m_zoom = Zoom(zoom);
    m_window = new MainWindow(AppFolders(m_book->path()), {DisplayZoom(zoom, 1.0), {}});
    m_window->startUp();
    m_window->resize(m_window->screen()->geometry().size());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void ZoomedMainWindowTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_book;
}

QPoint ZoomedMainWindowTest::onPagePixel(QPoint pixel, bool last) const
{
    const Zoom& zoom = m_zoom;
    const QPoint unit = pixel + QPoint(Canvas::kBorder, Canvas::kBorder);
    const QPoint first(zoom.edge(unit.x()), zoom.edge(unit.y()));
    return last ? QPoint(zoom.edge(unit.x() + 1) - 1, zoom.edge(unit.y() + 1) - 1) : first;
}

void ZoomedMainWindowTest::pressFillsThePixelUnderIt_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<bool>("last");
    QTest::addColumn<QPoint>("untouched"); // the neighbour across the line
    for (const double zoom : {1.40625, 2.8125, 1.3}) {
        const QByteArray z = QByteArray::number(zoom);
        QTest::newRow(z + " outside, last device pixel")
            << zoom << QPoint(9, 20) << true << QPoint(10, 20);
        QTest::newRow(z + " line, first device pixel")
            << zoom << QPoint(10, 20) << false << QPoint(9, 20);
        QTest::newRow(z + " middle, first device pixel")
            << zoom << QPoint(11, 11) << false << QPoint(10, 11);
        QTest::newRow(z + " last row and column")
            << zoom << QPoint(63, 47) << true << QPoint(10, 10);
    }
}

void ZoomedMainWindowTest::pressFillsThePixelUnderIt()
{
    QFETCH(double, zoom);
    QFETCH(QPoint, pixel);
    QFETCH(bool, last);
    QFETCH(QPoint, untouched);
    start(zoom);
    const QRgb before = pagePixel(untouched);
    const QRgb original = pagePixel(pixel);
    QTest::mouseClick(m_window->canvas(), Qt::LeftButton, {}, onPagePixel(pixel, last));
    QCOMPARE(pagePixel(pixel), qRgb(255, 0, 0));
    QCOMPARE(pagePixel(untouched), before);
    // Shown in whole blocks: the block's other corner shows the fill too,
    // and so do undo and redo, which redraw only what they change.
    QCOMPARE(shownPixel(onPagePixel(pixel, !last)), qRgb(255, 0, 0));
    m_window->onUndoClicked();
    QCOMPARE(shownPixel(onPagePixel(pixel, !last)), original);
    m_window->onRedo();
    QCOMPARE(shownPixel(onPagePixel(pixel, last)), qRgb(255, 0, 0));
}

void ZoomedMainWindowTest::fingerWorksLikeTheMouse()
{
    start(Zoom::forScreen(QSize(1920, 1080)));
    const std::unique_ptr<QPointingDevice> finger(
        QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen));
    const auto tap = [&](QWidget* widget, QPoint at, QPoint moved = {}) {
        QTest::touchEvent(m_window, finger.get()).press(0, at, widget);
        QTest::touchEvent(m_window, finger.get()).move(0, at + moved, widget);
        QTest::touchEvent(m_window, finger.get()).release(0, at + moved, widget);
    };
    // A tap on blue in the colour bar, then in the page's middle, moving a little.
    tap(m_window->colourBar(), onPagePixel(QPoint(6 + 16 * 6 + 5, 25), false));
    tap(m_window->canvas(), onPagePixel(QPoint(30, 20), false), QPoint(3, 2));
    QCOMPARE(pagePixel(QPoint(30, 20)), qRgb(0, 0, 255));
    // A double tap on the colour bar copies the page at its own size.
    QGuiApplication::clipboard()->clear();
    tap(m_window->colourBar(), QPoint(40, 10));
    tap(m_window->colourBar(), QPoint(43, 12));
    QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(64, 48));
    // A tap on the next-page ball turns the page, saving it at its own size.
    tap(m_window->forwardButton(), m_window->forwardButton()->rect().center(), QPoint(4, -3));
    QCOMPARE(m_window->pageState().currentPage, 2);
    QCOMPARE(QImage(m_book->drawing("1.bmp")).size(), QSize(64, 48));
}

QTEST_MAIN(ZoomedMainWindowTest)
#include "ZoomedMainWindowTest.moc"
