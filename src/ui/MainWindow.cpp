#include "ui/MainWindow.h"

#include "core/book/Failure.h"
#include "core/geometry/CanvasPlacement.h"
#include "core/geometry/StoredControls.h"
#include "core/geometry/UndoButtonPlacement.h"
#include "core/geometry/Units.h"
#include "ui/AnimatedPicture.h"
#include "ui/Canvas.h"
#include "ui/FailureBoundary.h"
#include "ui/PageKeeper.h"
#include "ui/PagePrinter.h"
#include "ui/PictureBox.h"
#include "ui/PictureButton.h"
#include "ui/ScreenOf.h"
#include "ui/SoundPlayer.h"

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

const char* const MainWindow::kAnimationFile = "monstruito.gif";

namespace {

QImage storedPicture(const char* name)
{
    // GIF pictures are shown as still pictures: their first frame.
    QImageReader reader(QStringLiteral(":/pictures/") + QLatin1String(name));
    return reader.read();
}

PictureButton* makeButton(const char* picture, const char* name, QWidget* parent)
{
    auto* button = new PictureButton(storedPicture(picture), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

MainWindow::MainWindow(AppFolders folders, QWidget* parent)
    : QWidget(parent), m_folders(std::move(folders)),
      m_session(m_folders.book(), m_folders.data())
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Tintaro"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/monster.png")));
    m_sound = new SoundPlayer(this);
    createControls();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    m_geometry.place(this, StoredControls::window);
    // Creation order; later controls lie above earlier ones. The layout
    // places them all for the screen at start-up.
    createBandButtons();
    createPalette();
    createCanvasAndUndo();
    connectButtons();
    createKeys();
    setTabOrders();
}

void MainWindow::createBandButtons()
{
    m_forwardButton = makeButton("forward.gif", "forwardButton", this);
    m_backButton = makeButton("backward.gif", "backButton", this);
    m_mascot = new AnimatedPicture(m_folders.data(), this);
    m_mascot->setObjectName(QStringLiteral("mascot"));
    m_mascot->setPictureFile(QString::fromLatin1(kAnimationFile));
    m_eraserButton = makeButton("eraser.bmp", "eraserButton", this);
}

void MainWindow::makeSwatch(int index)
{
    auto* swatch = new PictureBox(this);
    swatch->setObjectName(QStringLiteral("swatch_%1").arg(index));
    swatch->setBackColour(fromQRgb(palette().color(QPalette::Button).rgb()));
    m_swatches[index] = swatch;
    connect(swatch, &PictureBox::pressed, this, [this, index](Qt::MouseButton, QPoint at) {
        FailureBoundary::run([&] { onSwatchPressed(index, at); });
    });
}

void MainWindow::createPalette()
{
    for (int index = kSwatchCount - 1; index >= 6; --index)
        makeSwatch(index);

    m_colourBar = new PictureBox(this);
    m_colourBar->setObjectName(QStringLiteral("colourBar"));
    m_colourBar->setBackColour(fromQRgb(palette().color(QPalette::Base).rgb()));
    m_colourBar->setPicture(storedPicture("colourbar.bmp"));
    const QPixmap rayGun(QStringLiteral(":/pictures/raygun.png"));
    if (!rayGun.isNull())
        m_colourBar->setCursor(QCursor(rayGun, 4, 4)); // the muzzle
    connect(m_colourBar, &PictureBox::pressed, this,
            FailureBoundary::guard(this, &MainWindow::onColourBarPressed));
    connect(m_colourBar, &PictureBox::doubleClicked, this,
            FailureBoundary::guard(this, &MainWindow::onColourBarDoubleClicked));

    for (int index = 5; index >= 0; --index)
        makeSwatch(index);
}

void MainWindow::createCanvasAndUndo()
{
    m_doorButton = makeButton("door.bmp", "doorButton", this);
    m_canvas = new Canvas(m_session, this);
    m_canvas->setObjectName(QStringLiteral("canvas"));
    connect(m_canvas, &PictureBox::pressed, this,
            FailureBoundary::guard(this, &MainWindow::onCanvasPressed));

    // Stands below the mascot and follows it (see placeUndoButton).
    m_undoPicture = storedPicture("undo.png");
    m_undoGreyPicture = storedPicture("undo-off.png");
    m_undoButton = new PictureButton(m_undoGreyPicture, this);
    m_undoButton->setObjectName(QStringLiteral("undoButton"));
    // Placed clear of the page wherever there is room; where there is none,
    // over it, for it must always be seen and pressed.
    m_undoButton->raise();
}

void MainWindow::connectButtons()
{
    const auto onClick = [this](PictureButton* button, void (MainWindow::*handler)()) {
        connect(button, &QPushButton::clicked, this, FailureBoundary::guard(this, handler));
    };
    onClick(m_eraserButton, &MainWindow::onEraserClicked);
    onClick(m_doorButton, &MainWindow::onDoorClicked);
    onClick(m_backButton, &MainWindow::onBackClicked);
    onClick(m_forwardButton, &MainWindow::onForwardClicked);
    onClick(m_undoButton, &MainWindow::onUndoClicked);
}

void MainWindow::createKeys()
{
    const auto onKeys = [this](const QList<QKeySequence>& keys, void (MainWindow::*handler)()) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        connect(shortcut, &QShortcut::activated, this, FailureBoundary::guard(this, handler));
    };
    onKeys(QKeySequence::keyBindings(QKeySequence::Undo), &MainWindow::onUndoClicked);
    // Ctrl+Y as well wherever the platform's Redo lacks it.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y); !redoKeys.contains(ctrlY))
        redoKeys.append(ctrlY);
    onKeys(redoKeys, &MainWindow::onRedo);
    onKeys(QKeySequence::keyBindings(QKeySequence::Print), &MainWindow::onPrint);
    onKeys(QKeySequence::keyBindings(QKeySequence::Save), &MainWindow::onKeep);
}

void MainWindow::setTabOrders()
{
    QList<QWidget*> order{m_canvas, m_doorButton};
    for (int index = 0; index <= 5; ++index)
        order.append(m_swatches[index]);
    order.append(m_colourBar);
    for (int index = 6; index < kSwatchCount; ++index)
        order.append(m_swatches[index]);
    order << m_eraserButton << m_mascot << m_backButton << m_forwardButton << m_undoButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QSizeF MainWindow::screenTwips() const
{
    const QRect geometry = screenOf(this)->geometry();
    return {widgetPixelsToTwips(geometry.width()), widgetPixelsToTwips(geometry.height())};
}

void MainWindow::startUp()
{
    m_session.startUp();
    layOut();
    showSwatches(startRamp());
    showPage();
    placeCanvas(1);
}

void MainWindow::showSwatches(const std::array<ColorRef, kSwatchCount>& colours)
{
    for (int i = 0; i < kSwatchCount; ++i)
        m_swatches[i]->setBackColour(colours[i]);
}

void MainWindow::showCovering()
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

void MainWindow::layOut()
{
    const QSizeF screen = screenTwips();
    const Layout layout = Layout::compute(screen.width(), screen.height());
    for (int i = 0; i < kSwatchCount; ++i)
        m_geometry.place(m_swatches[i], layout.swatches[i]);
    m_geometry.place(m_forwardButton, layout.forward);
    m_geometry.place(m_backButton, layout.back);
    m_geometry.place(m_colourBar, layout.colourBar);
    m_geometry.place(m_eraserButton, layout.eraser);
    m_geometry.place(m_doorButton, layout.door);
    m_geometry.place(m_canvas, layout.canvas);
    m_geometry.place(m_mascot, layout.mascot);
}

void MainWindow::showPage()
{
    m_canvas->showPage();
    fitCanvasToPicture();
    showUndoState();
}

void MainWindow::fitCanvasToPicture()
{
    // The canvas sizes itself to its picture, keeping its top-left corner.
    const QRectF at = twips(m_canvas);
    const QSize size = m_canvas->sizeForPicture();
    m_geometry.place(m_canvas, QRectF(at.left(), at.top(), pixelsToTwips(size.width()),
                                      pixelsToTwips(size.height())));
    placeUndoButton(); // a page of another shape may reach where the button stood
}

void MainWindow::placeCanvas(int threshold)
{
    const QRectF canvas = twips(m_canvas);
    const CanvasPlacement p = CanvasPlacement::place(screenTwips().width(), twips(m_colourBar).top(),
                                                     canvas.width(), canvas.height(), threshold);
    m_geometry.place(m_canvas, QRectF(p.canvasLeft, p.canvasTop, canvas.width(), p.canvasHeight));
    const QRectF mascot = twips(m_mascot);
    m_geometry.place(m_mascot, QRectF(p.mascotLeft, p.mascotTop, mascot.width(), mascot.height()));
    placeUndoButton();
}

void MainWindow::placeUndoButton()
{
    const UndoButtonPlacement::Around around{screenTwips(), twips(m_canvas), twips(m_mascot),
                                             twips(m_backButton), twips(m_doorButton)};
    m_geometry.place(m_undoButton,
                     UndoButtonPlacement::place(around, StoredControls::undoButton.size()));
}

void MainWindow::showUndoState()
{
    m_undoButton->setPicture(m_session.canUndo() ? m_undoPicture : m_undoGreyPicture);
}

void MainWindow::onCanvasPressed(Qt::MouseButton button, QPoint at)
{
    if (button != Qt::LeftButton)
        return;
    m_canvas->showChange(m_session.fillAt(at).changed);
    showUndoState();
}

bool MainWindow::pickColour(PictureBox* control, QPoint at)
{
    return m_session.pickColour(control->colourAt(at.x(), at.y()));
}

void MainWindow::onSwatchPressed(int index, QPoint at)
{
    pickColour(m_swatches[index], at);
}

void MainWindow::onColourBarPressed(Qt::MouseButton, QPoint at)
{
    if (pickColour(m_colourBar, at))
        showSwatches(tintsOf(m_session.fillColour()));
}

void MainWindow::onColourBarDoubleClicked()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(m_session.page());
}

void MainWindow::showTurn(const PageSession::Turn& turn)
{
    if (turn.failure)
        FailureBoundary::warn(this, *turn.failure);
    if (!turn.turned)
        return;
    showPage();
    placeCanvas(turn.threshold);
    m_sound->play(turn.soundPath);
}

void MainWindow::onBackClicked()
{
    showTurn(m_session.turn(PageSession::Direction::Backward));
}

void MainWindow::onForwardClicked()
{
    showTurn(m_session.turn(PageSession::Direction::Forward));
}

void MainWindow::onEraserClicked()
{
    // The canvas keeps its place; only its size follows the drawing.
    m_session.erase();
    showPage();
}

void MainWindow::showStep(const PageSession::Step& step)
{
    if (!step.taken)
        return;
    fitCanvasToPicture();
    m_canvas->showChange(step.changed);
    showUndoState();
    if (step.failure)
        FailureBoundary::warn(this, *step.failure);
}

void MainWindow::onUndoClicked()
{
    showStep(m_session.undo());
}

void MainWindow::onRedo()
{
    showStep(m_session.redo());
}

void MainWindow::onPrint()
{
    PagePrinter::askAndPrint(this, m_session.page());
}

void MainWindow::onKeep()
{
    PageKeeper::keep(m_canvas, m_session.state().currentPage);
}

void MainWindow::onDoorClicked()
{
    // Ends at once, asking nothing. The way out is the event loop's, so that
    // Qt hands a copied page to the desktop's clipboard manager before the
    // program is gone.
    QCoreApplication::exit(0);
}

void MainWindow::paintEvent(QPaintEvent*)
{
    FailureBoundary::run([this] { paintBackground(); });
}

void MainWindow::paintBackground()
{
    QPainter painter(this);
    const QString report =
        m_background.tileBackground(m_folders.data() + QStringLiteral("/fondo.gif"), painter,
                                    widgetPixelsToTwips(width()), widgetPixelsToTwips(height()));
    if (!report.isEmpty()) {
        // A modal box cannot open inside a repaint; show it right after.
        QTimer::singleShot(0, this, [this, report] { reportBackgroundFailure(report); });
    }
}

void MainWindow::reportBackgroundFailure(const QString& text)
{
    printError(text);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tintaro"), text, QMessageBox::Ok, this);
    box.exec();
}
