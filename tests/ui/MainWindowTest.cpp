#include "ui/MainWindow.h"
#include "core/book/BookFolder.h"
#include "core/book/Failure.h"
#include "core/export/PageExporter.h"
#include "core/geometry/Units.h"
#include "ui/Canvas.h"
#include "ui/FailureBoundary.h"
#include "ui/PictureBox.h"
#include "ui/PictureButton.h"

#include <QBackingStore>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

namespace {

// A 64 × 48 page: a black ring (4-connected outline) around a white middle.
void addRingPage(const BookFolder& book, const QString& name)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRect(10, 10, 40, 20);
    painter.setBrush(Qt::white);
    painter.drawRect(13, 13, 34, 14);
    painter.end();
    image.save(book.drawing(name), "BMP");
}

QPoint insideCanvas(int x, int y)
{
    return {x + PictureBox::kBorder, y + PictureBox::kBorder};
}

// Which way a page ball's white arrow points: its head, the tallest column
// of white, lies nearer the tip than the tail.
bool arrowPointsLeft(const QImage& ball)
{
    int first = ball.width(), last = -1, tallest = 0, tallestColumn = 0;
    for (int x = 0; x < ball.width(); ++x) {
        int height = 0;
        for (int y = 0; y < ball.height(); ++y) {
            const QRgb p = ball.pixel(x, y);
            height += qRed(p) >= 150 && qRed(p) == qGreen(p) && qGreen(p) == qBlue(p);
        }
        if (height > 0) {
            first = std::min(first, x);
            last = x;
        }
        if (height > tallest) {
            tallest = height;
            tallestColumn = x;
        }
    }
    return tallestColumn - first < last - tallestColumn;
}

QStringList g_reported;

QRgb canvasPixel(const MainWindow& form, int x, int y)
{
    return form.canvas()->picture().pixel(x, y) | 0xFF000000u;
}

// Records the rectangles a widget is asked to repaint.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QWidget* widget) { widget->installEventFilter(this); }
    QList<QRect> rects;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            rects.append(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
};

// The pixel the window shows, read from its backing store.
QRgb shownPixel(QWidget* widget, int x, int y)
{
    const auto* store = static_cast<const QImage*>(widget->window()->backingStore()->paintDevice());
    const QPoint at = widget->mapTo(widget->window(), insideCanvas(x, y));
    return store->pixel(at * store->devicePixelRatio()) | 0xFF000000u;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pressRepaintsOnlyWhatChanged();
    void otherButtonsDoNotFill();
    void anyButtonPicksOnTheColourBar();
    void pageBallsPointTheirWays();
    void failureStopsAtTheBoundary();
    void ctrlSKeepsThePage_data();
    void ctrlSKeepsThePage();
    // Last: the door's end, asked with no event loop running, would make
    // every later loop (a message box's) return at once.
    void doorSaysWhatItCannotSave();

private:
    BookFolder* m_book = nullptr;
    MainWindow* m_window = nullptr;
};

void MainWindowTest::init()
{
    m_book = new BookFolder;
    addRingPage(*m_book, "1.gif");
    addRingPage(*m_book, "2.gif");
    // Without a wallpaper the window would report it in a modal box.
    QFile::copy(m_book->drawing("1.gif"), m_book->path() + "/fondo.gif");
    m_window = new MainWindow(AppFolders(m_book->path()));
    m_window->startUp();
    m_window->resize(m_window->screen()->geometry().size());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void MainWindowTest::cleanup()
{
    delete m_window;
    delete m_book;
}

void MainWindowTest::pressRepaintsOnlyWhatChanged()
{
    QTest::qWait(20); // the first showing is drawn
    PaintSpy spy(m_window->canvas());
    // A press on the border paints no pixel: nothing is drawn, the page still counts as changed.
    QTest::mouseClick(m_window->canvas(), Qt::LeftButton, {}, QPoint(1, 0));
    QTest::qWait(20);
    QCOMPARE(spy.rects, QList<QRect>{});
    QCOMPARE(m_window->pageState().pageChanged, true);
    // The white middle of the ring, and nothing else, is drawn again at once.
    QTest::mouseClick(m_window->canvas(), Qt::LeftButton, {}, insideCanvas(30, 20));
    QCOMPARE(spy.rects, QList<QRect>{QRect(insideCanvas(13, 13), QSize(34, 14))});
    QCOMPARE(shownPixel(m_window->canvas(), 13, 26), qRgb(255, 0, 0));
    QCOMPARE(shownPixel(m_window->canvas(), 12, 12), qRgb(0, 0, 0));
}

void MainWindowTest::otherButtonsDoNotFill()
{
    QTest::mouseClick(m_window->canvas(), Qt::RightButton, {}, insideCanvas(30, 20));
    QTest::mouseClick(m_window->canvas(), Qt::MiddleButton, {}, insideCanvas(30, 20));
    QCOMPARE(canvasPixel(*m_window, 30, 20), qRgb(255, 255, 255));
    QCOMPARE(m_window->pageState().pageChanged, false);
}

void MainWindowTest::anyButtonPicksOnTheColourBar()
{
    // Lower row, column 6 of the bar: blue (0, 0, 255).
    QTest::mouseClick(m_window->colourBar(), Qt::RightButton, {}, insideCanvas(6 + 16 * 6 + 5, 25));
    QCOMPARE(m_window->session().fillColour(), rgbColour(0, 0, 255));
    // Upper row, same column: navy.
    QTest::mouseClick(m_window->colourBar(), Qt::LeftButton, {}, insideCanvas(6 + 16 * 6 + 5, 9));
    QCOMPARE(m_window->session().fillColour(), rgbColour(0, 0, 128));
    // A press on the border has no colour to give and changes nothing.
    QTest::mouseClick(m_window->colourBar(), Qt::LeftButton, {}, QPoint(0, 1));
    QCOMPARE(m_window->session().fillColour(), rgbColour(0, 0, 128));
}

void MainWindowTest::pageBallsPointTheirWays()
{
    QVERIFY(arrowPointsLeft(m_window->forwardButton()->picture()));
    QVERIFY(!arrowPointsLeft(m_window->backButton()->picture()));
}

void MainWindowTest::failureStopsAtTheBoundary()
{
    // A failure in a handler is shown by the boundary, and never unwinds
    // through Qt's event code: the click returns, the window goes on.
    FailureBoundary::setReporter([](const QString& message) { g_reported << message; });
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, m_window, [] {
        FailureBoundary::run([] { throw Failure("1.gif", QStringLiteral("No puedo leer.")); });
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    // The drawing gone when the eraser asks for it: the coloured page stays.
    QTest::mouseClick(m_window->canvas(), Qt::LeftButton, {}, insideCanvas(30, 20));
    QVERIFY(QFile::remove(m_book->drawing("1.gif")));
    QTest::mouseClick(m_window->eraserButton(), Qt::LeftButton);
    FailureBoundary::setReporter(nullptr);
    QCOMPARE(g_reported.size(), 2);
    QVERIFY(g_reported.last().contains(QStringLiteral("1.gif")));
    QVERIFY(canvasPixel(*m_window, 30, 20) != 0xFFFFFFFFu);
}

void MainWindowTest::doorSaysWhatItCannotSave()
{
    // The copy's name taken by a folder: the door says which file before it ends.
    QTest::mouseClick(m_window->canvas(), Qt::LeftButton, {}, insideCanvas(30, 20));
    QVERIFY(QDir().mkdir(m_book->drawing("1.bmp")));
    g_reported.clear();
    FailureBoundary::setReporter([](const QString& message) { g_reported << message; });
    QTest::mouseClick(m_window->doorButton(), Qt::LeftButton);
    FailureBoundary::setReporter(nullptr);
    QCOMPARE(g_reported.size(), 1);
    QVERIFY2(g_reported.first().contains(QStringLiteral("1.bmp")), qPrintable(g_reported.first()));
}

void MainWindowTest::ctrlSKeepsThePage_data()
{
    QTest::addColumn<bool>("blocked");
    QTest::newRow("kept beside pictures of the same second") << false;
    // A file where the folder should be: permissions would not bind the
    // super-user the tests may run as.
    QTest::newRow("folder cannot be made") << true;
}

void MainWindowTest::ctrlSKeepsThePage()
{
    QFETCH(bool, blocked);
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    const QString folder = home.filePath("Pictures/Tintaro");
    QDir().mkpath(QFileInfo(folder).path());
    // Pictures already there, under every name this second or the next can give.
    QStringList taken;
    const QDateTime now = QDateTime::currentDateTime();
    for (const QDateTime& at : {now, now.addSecs(1)})
        taken << PageExporter::fileName(1, at);
    QDir().mkpath(blocked ? home.path() : folder);
    for (const QString& name : blocked ? QStringList{QString()} : taken)
        QFile(blocked ? folder : folder + '/' + name).open(QIODevice::WriteOnly);
    QTest::mouseClick(m_window->canvas(), Qt::LeftButton, {}, insideCanvas(30, 20));
    const QImage page = m_window->canvas()->picture();

    QString said;
    QTimer::singleShot(0, [&said] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said = box->text();
            box->accept();
        }
    });
    QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_window->canvas()->isHidden(), !blocked); // the blink
    QTRY_VERIFY(m_window->canvas()->isVisible());
    QCOMPARE(m_window->canvas()->picture(), page);
    QCOMPARE(m_window->pageState().pageChanged, true);
    if (blocked) {
        QVERIFY2(said.contains(folder) && said.contains("No puedo guardar"), qPrintable(said));
        return;
    }
    QVERIFY(said.isEmpty());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
    for (const QString& name : taken)
        QCOMPARE(QFileInfo(folder + '/' + name).size(), 0);
    QString kept = folder + '/' + PageExporter::fileName(1, now, 2);
    if (!QFile::exists(kept))
        kept = folder + '/' + PageExporter::fileName(1, now.addSecs(1), 2);
    QCOMPARE(QImage(kept).convertToFormat(QImage::Format_RGB32), page);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
