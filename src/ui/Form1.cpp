#include "ui/Form1.h"

#include "book/Failure.h"
#include "colour/FloodFill.h"
#include "colour/Palette.h"
#include "geometry/CanvasPlacement.h"
#include "geometry/Layout.h"
#include "geometry/UndoButtonPlacement.h"
#include "geometry/Units.h"
#include "ui/Canvas.h"
#include "ui/FailureBoundary.h"
#include "ui/PageKeeper.h"
#include "ui/PagePrinter.h"
#include "ui/PictureBox.h"
#include "ui/PictureButton.h"
#include "ui/ScreenOf.h"
#include "ui/SoundPlayer.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

const char* const Form1::kAnimationFile = "monstruito.gif";

namespace {

QImage storedPicture(const char* name)
{
    // GIF pictures are shown as still pictures: their first frame.
    QImageReader reader(QStringLiteral(":/pictures/") + QLatin1String(name));
    return reader.read();
}

} // namespace

Form1::Form1(AppFolders folders, QWidget* parent)
    : QWidget(parent), m_folders(std::move(folders)), m_book(m_folders.book(), m_folders.data())
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Tintaro"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/monster.png")));
    m_sound = new SoundPlayer(this);
    createControls();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    // Stored normal-state client area: exactly a 640 × 480 screen with the frame.
    setGeometry(widgetPixels(60), widgetPixels(60), widgetPixels(9480), widgetPixels(7080));
    // Creation order; later controls lie above earlier ones.
    createBandButtons();
    createPalette();
    createCanvasAndUndo();
    connectButtons();
    createKeys();
    setTabOrders();
}

void Form1::createBandButtons()
{
    m_command4 = new PictureButton(storedPicture("forward.gif"), this);
    m_command4->setObjectName(QStringLiteral("Command4"));
    m_geometry.place(m_command4, QRectF(2160, 5040, 855, 1000));

    m_command3 = new PictureButton(storedPicture("backward.gif"), this);
    m_command3->setObjectName(QStringLiteral("Command3"));
    m_geometry.place(m_command3, QRectF(1200, 5040, 855, 1000));

    AnimatedPicture::State saltarin;
    saltarin.extentWidth = 2381;
    saltarin.extentHeight = 2408;
    saltarin.pictureFile = QString::fromLatin1(kAnimationFile);
    m_saltarin1 = new AnimatedPicture(saltarin, m_folders.data(), this);
    m_saltarin1->setObjectName(QStringLiteral("Saltarin1"));
    m_geometry.place(m_saltarin1, QRectF(0, 3240, 1350, 1365));

    m_command1 = new PictureButton(storedPicture("eraser.bmp"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_geometry.place(m_command1, QRectF(8640, 5040, 855, 1005));
}

void Form1::makeSwatch(int index, double left)
{
    auto* swatch = new PictureBox(this);
    swatch->setObjectName(QStringLiteral("Picture2_%1").arg(index));
    swatch->setBackColour(fromQRgb(palette().color(QPalette::Button).rgb()));
    m_geometry.place(swatch, QRectF(left, 6480, 495, 375));
    m_picture2[index] = swatch;
    connect(swatch, &PictureBox::mouseDown, this,
            [this, index](int button, int shift, float x, float y) {
                FailureBoundary::run([&] { Picture2_MouseDown(index, button, shift, x, y); });
            });
}

void Form1::createPalette()
{
    for (int index = kSwatchCount - 1; index >= 6; --index)
        makeSwatch(index, 960 + 600 * index);

    m_picture3 = new PictureBox(this);
    m_picture3->setObjectName(QStringLiteral("Picture3"));
    m_picture3->setBackColour(fromQRgb(palette().color(QPalette::Base).rgb()));
    m_picture3->setPicture(storedPicture("colourbar.bmp"));
    m_geometry.place(m_picture3, QRectF(3960, 4440, 5430, 525));
    const QPixmap rayGun(QStringLiteral(":/pictures/raygun.png"));
    if (!rayGun.isNull())
        m_picture3->setCursor(QCursor(rayGun, 4, 4)); // the muzzle
    connect(m_picture3, &PictureBox::mouseDown, this,
            FailureBoundary::guard(this, &Form1::Picture3_MouseDown));
    connect(m_picture3, &PictureBox::doubleClicked, this,
            FailureBoundary::guard(this, &Form1::Picture3_DblClick));

    for (int index = 5; index >= 0; --index)
        makeSwatch(index, 960 + 600 * index);
}

void Form1::createCanvasAndUndo()
{
    m_command2 = new PictureButton(storedPicture("door.bmp"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    QFont doorFont(QStringLiteral("MS Sans Serif"));
    doorFont.setPointSizeF(12 * widgetZoom());
    doorFont.setBold(true);
    m_command2->setFont(doorFont);
    m_geometry.place(m_command2, QRectF(7440, 5040, 855, 1005));

    m_picture1 = new Canvas(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_geometry.place(m_picture1, QRectF(720, 840, 5445, 3405));
    connect(m_picture1, &PictureBox::mouseDown, this,
            FailureBoundary::guard(this, &Form1::Picture1_MouseDown));

    // Stands below the animation and follows it (see placeCommand5).
    m_undoPicture = storedPicture("undo.png");
    m_undoGreyPicture = storedPicture("undo-off.png");
    m_command5 = new PictureButton(m_undoGreyPicture, this);
    m_command5->setObjectName(QStringLiteral("Command5"));
    m_geometry.place(m_command5, QRectF(0, 3240 + 1365 + UndoButtonPlacement::kGap, 855, 1000));
    // Placed clear of the page wherever there is room; where there is none,
    // over it, for it must always be seen and pressed.
    m_command5->raise();
}

void Form1::connectButtons()
{
    const auto onClick = [this](PictureButton* button, void (Form1::*handler)()) {
        connect(button, &QPushButton::clicked, this, FailureBoundary::guard(this, handler));
    };
    onClick(m_command1, &Form1::Command1_Click);
    onClick(m_command2, &Form1::Command2_Click);
    onClick(m_command3, &Form1::Command3_Click);
    onClick(m_command4, &Form1::Command4_Click);
    onClick(m_command5, &Form1::Command5_Click);
}

void Form1::createKeys()
{
    auto* undoKey = new QShortcut(QKeySequence::Undo, this);
    connect(undoKey, &QShortcut::activated, this,
            FailureBoundary::guard(this, &Form1::Command5_Click));
    // Ctrl+Y as well wherever the platform's Redo lacks it.
    auto* redoKey = new QShortcut(this);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y);
    if (!redoKeys.contains(ctrlY))
        redoKeys.append(ctrlY);
    redoKey->setKeys(redoKeys);
    connect(redoKey, &QShortcut::activated, this, FailureBoundary::guard(this, &Form1::Form_Redo));
    auto* printKey = new QShortcut(QKeySequence::Print, this);
    connect(printKey, &QShortcut::activated, this,
            FailureBoundary::guard(this, &Form1::Form_Print));
    auto* keepKey = new QShortcut(QKeySequence::Save, this);
    connect(keepKey, &QShortcut::activated, this, FailureBoundary::guard(this, &Form1::Form_Keep));
}

void Form1::setTabOrders()
{
    QList<QWidget*> order{m_picture1, m_command2};
    for (int index = 0; index <= 5; ++index)
        order.append(m_picture2[index]);
    order.append(m_picture3);
    for (int index = 6; index < kSwatchCount; ++index)
        order.append(m_picture2[index]);
    order << m_command1 << m_saltarin1 << m_command3 << m_command4 << m_command5;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QSizeF Form1::screenTwips() const
{
    const QRect geometry = screenOf(this)->geometry();
    return {widgetPixelsToTwips(geometry.width()), widgetPixelsToTwips(geometry.height())};
}

void Form1::Form_Load(QWidget* intro)
{
    m_book.startUp();
    Form_Layout();
    m_picture1->setFillColour(rgbColour(255, 0, 0));
    showSwatches(startRamp());
    showPicture(m_book.loadFirstPage());
    placeCanvas(1);
    if (intro) {
        intro->close();
        intro->deleteLater();
    }
}

void Form1::showSwatches(const std::array<ColorRef, kSwatchCount>& colours)
{
    for (int i = 0; i < kSwatchCount; ++i)
        m_picture2[i]->setBackColour(colours[i]);
}

void Form1::showCovering()
{
    const QScreen* screen = screenOf(this);
    // The controls are laid out for the whole screen, so the window must
    // cover it: a maximised window stops short of a desktop's panels and
    // would hide the bottom band under them. Without a window manager the
    // geometry has to be given explicitly.
    setGeometry(screen->geometry());
    showFullScreen();
    raise();
    activateWindow();
}

void Form1::Form_Layout()
{
    const QSizeF screen = screenTwips();
    placeControls(Layout::compute(screen.width(), screen.height(), controlSizes()));
    placeCommand5();
}

Layout::Sizes Form1::controlSizes() const
{
    Layout::Sizes sizes;
    sizes.swatchWidth = twips(m_picture2[0]).width();
    sizes.command4Width = twips(m_command4).width();
    sizes.command4Height = twips(m_command4).height();
    sizes.command3Width = twips(m_command3).width();
    sizes.command3Height = twips(m_command3).height();
    sizes.command1Width = twips(m_command1).width();
    sizes.command1Height = twips(m_command1).height();
    sizes.command2Width = twips(m_command2).width();
    sizes.command2Height = twips(m_command2).height();
    sizes.picture3Width = twips(m_picture3).width();
    sizes.picture3Height = twips(m_picture3).height();
    sizes.picture1Width = twips(m_picture1).width();
    sizes.picture1Height = twips(m_picture1).height();
    sizes.saltarinWidth = twips(m_saltarin1).width();
    sizes.saltarinHeight = twips(m_saltarin1).height();
    return sizes;
}

void Form1::placeControls(const Layout& layout)
{
    for (int i = 0; i < kSwatchCount; ++i)
        m_geometry.place(m_picture2[i], layout.picture2[i]);
    m_geometry.place(m_command4, layout.command4);
    m_geometry.place(m_command3, layout.command3);
    m_geometry.place(m_picture3, layout.picture3);
    m_geometry.place(m_command1, layout.command1);
    m_geometry.place(m_command2, layout.command2);
    m_geometry.place(m_picture1, layout.picture1);
    m_geometry.place(m_saltarin1, layout.saltarin1);
}

void Form1::showPicture(const QImage& picture)
{
    m_picture1->setPicture(picture);
    fitCanvasToPicture();
    showUndoState();
}

void Form1::fitCanvasToPicture()
{
    // The canvas sizes itself to its picture, keeping its top-left corner.
    const QRectF at = twips(m_picture1);
    const QSize size = m_picture1->sizeForPicture();
    m_geometry.place(m_picture1, QRectF(at.left(), at.top(), pixelsToTwips(size.width()),
                                        pixelsToTwips(size.height())));
    placeCommand5(); // a page of another shape may reach where the button stood
}

void Form1::placeCanvas(int threshold)
{
    const QRectF canvas = twips(m_picture1);
    const CanvasPlacement p = CanvasPlacement::place(screenTwips().width(), twips(m_picture3).top(),
                                                     canvas.width(), canvas.height(), threshold);
    m_geometry.place(m_picture1, QRectF(p.canvasLeft, p.canvasTop, canvas.width(), p.canvasHeight));
    const QRectF saltarin = twips(m_saltarin1);
    m_geometry.place(m_saltarin1,
                     QRectF(p.saltarinLeft, p.saltarinTop, saltarin.width(), saltarin.height()));
    placeCommand5();
}

void Form1::placeCommand5()
{
    const UndoButtonPlacement::Around around{screenTwips(), twips(m_picture1), twips(m_saltarin1),
                                             twips(m_command3), twips(m_command2)};
    m_geometry.place(m_command5, UndoButtonPlacement::place(around, twips(m_command5).size()));
}

void Form1::showUndoState()
{
    m_command5->setPicture(m_picture1->canUndo() ? m_undoPicture : m_undoGreyPicture);
}

void Form1::Picture1_MouseDown(int button, int, float x, float y)
{
    if (button != PictureBox::kLeftButton)
        return;
    m_picture1->fillAt(pressToPixel(x), pressToPixel(y));
    m_book.markChanged();
    showUndoState();
}

bool Form1::pickColour(PictureBox* control, float x, float y)
{
    const ColorRef colour = control->colourAt(pressToPixel(x), pressToPixel(y));
    if (colour == kInvalidColour)
        return false; // no colour to read at this point: the press is ignored
    PickedColour = static_cast<qint32>(colour);
    m_picture1->setFillColour(joinColour(splitColour(colour)));
    return true;
}

void Form1::Picture2_MouseDown(int index, int, int, float x, float y)
{
    pickColour(m_picture2[index], x, y);
}

void Form1::Picture3_MouseDown(int, int, float x, float y)
{
    if (!pickColour(m_picture3, x, y))
        return;
    showSwatches(tintsOf(static_cast<ColorRef>(PickedColour)));
}

void Form1::Picture3_DblClick()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(m_picture1->persistentImage());
}

void Form1::pageTurn(PageBook::Direction direction)
{
    PageBook::Turn turn;
    if (!trySaving([&] { turn = m_book.turn(direction, m_picture1->persistentImage()); }))
        return;
    showPicture(turn.picture);
    placeCanvas(turn.threshold);
    m_sound->play(turn.soundPath);
}

bool Form1::trySaving(const std::function<void()>& save)
{
    try {
        save();
        return true;
    } catch (const SaveFailure& failure) {
        // The page and its fills stay on screen; the child can try again.
        FailureBoundary::warn(this, failure.message());
        return false;
    }
}

void Form1::Command3_Click()
{
    pageTurn(PageBook::Direction::Backward);
}

void Form1::Command4_Click()
{
    pageTurn(PageBook::Direction::Forward);
}

void Form1::Command1_Click()
{
    // The canvas keeps its place; only its size follows the drawing. The
    // coloured page stays in the history, so the press can be taken back.
    m_picture1->replacePicture(m_book.restore());
    fitCanvasToPicture();
    showUndoState();
}

void Form1::Command5_Click()
{
    const bool eraser = m_picture1->undoTakesBackEraser();
    if (!m_picture1->undo())
        return;
    afterHistoryStep();
    // The eraser deleted the coloured copy; the page it brings back is kept
    // at once, so that no way out of the program can lose it again.
    if (eraser)
        trySaving([this] { m_book.keepCopy(m_picture1->persistentImage()); });
}

void Form1::Form_Redo()
{
    const bool eraser = m_picture1->redoRepeatsEraser();
    if (!m_picture1->redo())
        return;
    afterHistoryStep();
    if (eraser)
        m_book.removeCopy();
}

void Form1::afterHistoryStep()
{
    // What the child sees now is what the next page turn must save.
    m_book.markChanged();
    fitCanvasToPicture();
    showUndoState();
}

void Form1::Form_Print()
{
    PagePrinter::askAndPrint(this, m_picture1->persistentImage());
}

void Form1::Form_Keep()
{
    PageKeeper::keep(m_picture1, m_book.state().CurrentPage);
}

void Form1::Command2_Click()
{
    // Ends at once, saving nothing and asking nothing. The way out is the
    // event loop's, so that Qt hands a copied page to the desktop's
    // clipboard manager before the program is gone.
    QCoreApplication::exit(0);
}

void Form1::paintEvent(QPaintEvent*)
{
    FailureBoundary::run([this] { paintBackground(); });
}

void Form1::paintBackground()
{
    QPainter painter(this);
    const QString report =
        m_background.TileBackground(m_folders.data() + QStringLiteral("/fondo.gif"), painter,
                                    widgetPixelsToTwips(width()), widgetPixelsToTwips(height()));
    if (!report.isEmpty()) {
        // A modal box cannot open inside a repaint; show it right after.
        QTimer::singleShot(0, this, [this, report] { reportBackgroundFailure(report); });
    }
}

void Form1::reportBackgroundFailure(const QString& text)
{
    printError(text);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tintaro"), text, QMessageBox::Ok, this);
    box.exec();
}
