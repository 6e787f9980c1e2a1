#include "ui/MainWindow.h"

#include "core/book/Failure.h"
#include "ui/Canvas.h"
#include "ui/ChildLock.h"
#include "ui/ExportKey.h"
#include "ui/FailureBoundary.h"
#include "ui/GalleryView.h"
#include "ui/PagePrinter.h"
#include "ui/PictureBox.h"
#include "ui/PictureButton.h"
#include "ui/ScreenOf.h"
#include "ui/SoundPlayer.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

MainWindow::MainWindow(AppFolders folders, const WindowState& state, QWidget* parent)
    : QWidget(parent), m_folders(std::move(folders)), m_state(state), m_session(m_folders.book()),
      m_controls(this, m_session, m_folders.data(), m_state.zoom), m_background(m_state.zoom)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Tintaro"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/monster.png")));
    m_sound = new SoundPlayer(this);
    // The grown-ups' choices as they are when the book opens.
    const Settings& settings = m_state.settings;
    m_sound->setSilent(!settings.sounds());
    if (settings.childLockNow())
        ChildLock::apply(this, doorButton(), m_state.zoom);
    connectControls();
    connectKeys(settings.childLockNow());
    connectEnds();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectControls()
{
    for (int index = 0; index < kSwatchCount; ++index) {
        connect(swatch(index), &PictureBox::pressed, this,
                [this, index](Qt::MouseButton, QPoint at) {
                    FailureBoundary::run([&] { onSwatchPressed(index, at); });
                });
    }
    connect(colourBar(), &PictureBox::pressed, this,
            FailureBoundary::guard(this, &MainWindow::onColourBarPressed));
    connect(colourBar(), &PictureBox::doubleClicked, this,
            FailureBoundary::guard(this, &MainWindow::onColourBarDoubleClicked));
    connect(canvas(), &PictureBox::pressed, this,
            FailureBoundary::guard(this, &MainWindow::onCanvasPressed));
    const auto onClick = [this](PictureButton* button, void (MainWindow::*handler)()) {
        connect(button, &QPushButton::clicked, this, FailureBoundary::guard(this, handler));
    };
    onClick(eraserButton(), &MainWindow::onEraserClicked);
    onClick(doorButton(), &MainWindow::onDoorClicked);
    onClick(backButton(), &MainWindow::onBackClicked);
    onClick(forwardButton(), &MainWindow::onForwardClicked);
    onClick(undoButton(), &MainWindow::onUndoClicked);
    onClick(galleryButton(), &MainWindow::onGalleryClicked);
    m_gallery = new GalleryView(m_state.zoom, this);
    connect(m_gallery, &GalleryView::pageChosen, this,
            FailureBoundary::guard(this, &MainWindow::onPageChosen));
}

void MainWindow::connectKeys(bool locked)
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
    // Under the child lock a stray key neither prints nor writes: the
    // grown-ups' keys are left out, the child's buttons stay.
    if (!locked) {
        onKeys(QKeySequence::keyBindings(QKeySequence::Print), &MainWindow::onPrint);
        onKeys(QKeySequence::keyBindings(QKeySequence::Save), &MainWindow::onExport);
        onKeys(QKeySequence::keyBindings(QKeySequence::Open), &MainWindow::onGalleryClicked);
    }
    // The page keys turn as the page buttons do; the pages' view takes them
    // for itself while it is open.
    onKeys({QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown)},
           &MainWindow::onForwardClicked);
    onKeys({QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp)}, &MainWindow::onBackClicked);
    onKeys({QKeySequence(Qt::Key_Home)}, &MainWindow::onHomeKey);
}

void MainWindow::connectEnds()
{
    // A changed page goes to disk once the presses pause, so that a crash or
    // a power cut costs little; every orderly end writes what is left.
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(PageSession::kSaveAfterPauseMs);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] {
        FailureBoundary::run([this] { warnIfFailed(m_session.saveInBackground()); });
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { savePage(false); });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { savePage(false); });
}

void MainWindow::startUp()
{
    const QString notice = m_session.startUp();
    m_controls.layOut();
    m_controls.showSwatches(startRamp());
    showPage();
    m_controls.placeCanvas(CanvasPlacement::Pin::WithoutGap);
    // Said over the book once it is on screen.
    if (!notice.isEmpty())
        QTimer::singleShot(0, this, [this, notice] { FailureBoundary::warn(this, notice); });
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

void MainWindow::showPage()
{
    canvas()->showPage();
    m_controls.fitCanvasToPicture();
    m_controls.showUndoState(m_session.canUndo());
}

void MainWindow::pageChanged()
{
    m_controls.showUndoState(m_session.canUndo());
    m_saveTimer.start();
}

void MainWindow::onCanvasPressed(Qt::MouseButton button, QPoint at)
{
    if (button != Qt::LeftButton)
        return;
    canvas()->showChange(m_session.fillAt(at).changed);
    pageChanged();
}

bool MainWindow::pickColour(PictureBox* control, QPoint at)
{
    return m_session.pickColour(control->colourAt(at.x(), at.y()));
}

void MainWindow::onSwatchPressed(int index, QPoint at)
{
    pickColour(swatch(index), at);
}

void MainWindow::onColourBarPressed(Qt::MouseButton, QPoint at)
{
    if (pickColour(colourBar(), at))
        m_controls.showSwatches(tintsOf(m_session.fillColour()));
}

void MainWindow::onColourBarDoubleClicked()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(m_session.page());
}

void MainWindow::showTurn(const PageSession::Turn& turn)
{
    if (turn.turned)
        showReached(turn.direction);
    if (turn.failure)
        FailureBoundary::warn(this, *turn.failure);
}

void MainWindow::showReached(PageSession::Direction direction)
{
    showPage();
    // A page turned back is placed by the stricter rule and has a sound of its own.
    const bool back = direction == PageSession::Direction::Backward;
    m_controls.placeCanvas(back ? CanvasPlacement::Pin::WithinOneTwip
                                : CanvasPlacement::Pin::WithoutGap);
    m_sound->play(m_folders.data() +
                  (back ? QStringLiteral("/sonido2.wav") : QStringLiteral("/sonido1.wav")));
}

void MainWindow::onBackClicked()
{
    showTurn(m_session.turn(PageSession::Direction::Backward));
}

void MainWindow::onForwardClicked()
{
    showTurn(m_session.turn(PageSession::Direction::Forward));
}

void MainWindow::onGalleryClicked()
{
    m_gallery->open(m_session);
}

void MainWindow::onPageChosen(int page)
{
    showTurn(m_session.goToPage(page));
}

void MainWindow::onHomeKey()
{
    showTurn(m_session.goToPage(1));
}

void MainWindow::onEraserClicked()
{
    // The canvas keeps its place; only its size follows the drawing.
    const QString notice = m_session.erase();
    showPage();
    if (!notice.isEmpty())
        FailureBoundary::warn(this, notice);
}

void MainWindow::showStep(const PageSession::Step& step)
{
    if (!step.taken)
        return;
    m_controls.fitCanvasToPicture();
    canvas()->showChange(step.changed);
    pageChanged();
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

void MainWindow::onExport()
{
    ExportKey::exportPage(canvas(), m_session.state().currentPage);
}

void MainWindow::onDoorClicked()
{
    // Ends at once, asking nothing, with the page on show kept. The way out
    // is the event loop's, so that Qt hands a copied page to the desktop's
    // clipboard manager before the program is gone.
    savePage(true);
    QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    FailureBoundary::run([this] { savePage(true); });
    QWidget::closeEvent(event);
}

void MainWindow::warnIfFailed(const std::optional<QString>& failure)
{
    if (failure)
        FailureBoundary::warn(this, *failure);
}

void MainWindow::savePage(bool warn)
{
    m_saveTimer.stop();
    const std::optional<QString> failure = m_session.saveNow();
    if (failure && warn)
        FailureBoundary::warn(this, *failure);
    else if (failure)
        printError(*failure);
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
                                    m_state.zoom.twipsOf(width()), m_state.zoom.twipsOf(height()));
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
