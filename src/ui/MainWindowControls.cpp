#include "ui/MainWindowControls.h"

#include "core/geometry/CanvasPlacement.h"
#include "core/geometry/GalleryButtonPlacement.h"
#include "core/geometry/Layout.h"
#include "core/geometry/StoredControls.h"
#include "core/geometry/UndoButtonPlacement.h"
#include "core/geometry/Units.h"
#include "ui/AnimatedPicture.h"
#include "ui/Canvas.h"
#include "ui/PictureBox.h"
#include "ui/PictureButton.h"
#include "ui/ScreenOf.h"

#include <QCursor>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>

const char* const MainWindowControls::kAnimationFile = "monstruito.gif";

namespace {

QImage storedPicture(const char* name)
{
    // GIF pictures are shown as still pictures: their first frame.
    QImageReader reader(QStringLiteral(":/pictures/") + QLatin1String(name));
    return reader.read();
}

} // namespace

MainWindowControls::MainWindowControls(QWidget* window, const PageSession& session,
                                       const QString& dataFolder, const DisplayZoom& zoom)
    : m_window(window), m_zoom(zoom), m_geometry(zoom)
{
    m_geometry.place(window, StoredControls::window);
    // Creation order; later controls lie above earlier ones. The layout
    // places them all for the screen at start-up.
    createBandButtons(dataFolder);
    createPalette();
    createCanvasAndUndo(session);
    setTabOrders();
}

PictureButton* MainWindowControls::makeButton(const char* picture, const char* name)
{
    auto* button = new PictureButton(storedPicture(picture), m_zoom, m_window);
    button->setObjectName(QLatin1String(name));
    return button;
}

void MainWindowControls::createBandButtons(const QString& dataFolder)
{
    m_forwardButton = makeButton("forward.gif", "forwardButton");
    m_backButton = makeButton("backward.gif", "backButton");
    m_mascot = new AnimatedPicture(dataFolder, m_zoom, m_window);
    m_mascot->setObjectName(QStringLiteral("mascot"));
    m_mascot->setPictureFile(QString::fromLatin1(kAnimationFile));
    m_eraserButton = makeButton("eraser.bmp", "eraserButton");
}

PictureBox* MainWindowControls::makeSwatch(int index)
{
    auto* swatch = new PictureBox(m_zoom, m_window);
    swatch->setObjectName(QStringLiteral("swatch_%1").arg(index));
    swatch->setBackColour(fromQRgb(m_window->palette().color(QPalette::Button).rgb()));
    m_swatches[index] = swatch;
    return swatch;
}

void MainWindowControls::createPalette()
{
    for (int index = kSwatchCount - 1; index >= 6; --index)
        makeSwatch(index);
    m_colourBar = new PictureBox(m_zoom, m_window);
    m_colourBar->setObjectName(QStringLiteral("colourBar"));
    m_colourBar->setBackColour(fromQRgb(m_window->palette().color(QPalette::Base).rgb()));
    m_colourBar->setPicture(storedPicture("colourbar.bmp"));
    const QPixmap rayGun(QStringLiteral(":/pictures/raygun.png"));
    if (!rayGun.isNull())
        m_colourBar->setCursor(QCursor(rayGun, 4, 4)); // the muzzle
    for (int index = 5; index >= 0; --index)
        makeSwatch(index);
}

void MainWindowControls::createCanvasAndUndo(const PageSession& session)
{
    m_doorButton = makeButton("door.bmp", "doorButton");
    m_canvas = new Canvas(session, m_zoom, m_window);
    m_canvas->setObjectName(QStringLiteral("canvas"));
    // Stands below the mascot and follows it (see placeUndoButton).
    m_undoPicture = storedPicture("undo.png");
    m_undoGreyPicture = storedPicture("undo-off.png");
    m_undoButton = new PictureButton(m_undoGreyPicture, m_zoom, m_window);
    m_undoButton->setObjectName(QStringLiteral("undoButton"));
    // Placed clear of the page wherever there is room; where there is none,
    // over it, for it must always be seen and pressed.
    m_undoButton->raise();
    m_galleryButton = makeButton("gallery.png", "galleryButton");
    m_galleryButton->raise();
}

void MainWindowControls::setTabOrders()
{
    QList<QWidget*> order{m_canvas, m_doorButton};
    for (int index = 0; index <= 5; ++index)
        order.append(m_swatches[index]);
    order.append(m_colourBar);
    for (int index = 6; index < kSwatchCount; ++index)
        order.append(m_swatches[index]);
    order << m_eraserButton << m_mascot << m_backButton << m_forwardButton << m_undoButton
          << m_galleryButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QSizeF MainWindowControls::screenTwips() const
{
    const QRect geometry = screenOf(m_window)->geometry();
    return {m_zoom.twipsOf(geometry.width()), m_zoom.twipsOf(geometry.height())};
}

void MainWindowControls::layOut()
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

void MainWindowControls::fitCanvasToPicture()
{
    const QRectF at = twips(m_canvas);
    const QSize size = m_canvas->sizeForPicture();
    m_geometry.place(m_canvas, QRectF(at.left(), at.top(), pixelsToTwips(size.width()),
                                      pixelsToTwips(size.height())));
    placeUndoButton(); // a page of another shape may reach where the button stood
}

void MainWindowControls::placeCanvas(CanvasPlacement::Pin pin)
{
    const QRectF canvas = twips(m_canvas);
    const CanvasPlacement p = CanvasPlacement::place(
        screenTwips().width(), twips(m_colourBar).top(), canvas.width(), canvas.height(), pin);
    m_geometry.place(m_canvas, QRectF(p.canvasLeft, p.canvasTop, canvas.width(), p.canvasHeight));
    const QRectF mascot = twips(m_mascot);
    m_geometry.place(m_mascot, QRectF(p.mascotLeft, p.mascotTop, mascot.width(), mascot.height()));
    placeUndoButton();
}

void MainWindowControls::placeUndoButton()
{
    const UndoButtonPlacement::Around around{screenTwips(), twips(m_canvas), twips(m_mascot),
                                             twips(m_backButton), twips(m_doorButton)};
    const QRectF undo = UndoButtonPlacement::place(around, StoredControls::undoButton.size());
    m_geometry.place(m_undoButton, undo);
    m_geometry.place(m_galleryButton,
                     GalleryButtonPlacement::place(around, undo, StoredControls::galleryButton));
}

void MainWindowControls::showSwatches(const std::array<ColorRef, kSwatchCount>& colours)
{
    for (int i = 0; i < kSwatchCount; ++i)
        m_swatches[i]->setBackColour(colours[i]);
}

void MainWindowControls::showUndoState(bool canUndo)
{
    m_undoButton->setPicture(canUndo ? m_undoPicture : m_undoGreyPicture);
}
