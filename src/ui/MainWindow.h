#pragma once

#include "core/colour/ColorRef.h"
#include "core/colour/Palette.h"
#include "core/folders/AppFolders.h"
#include "core/geometry/Layout.h"
#include "core/session/PageSession.h"
#include "ui/BackgroundPainter.h"
#include "ui/TwipGeometry.h"

#include <QPoint>
#include <QRectF>
#include <QWidget>

#include <array>

class AnimatedPicture;
class Canvas;
class PictureBox;
class PictureButton;
class SoundPlayer;

// The main colouring window: the canvas, the colour bar over the shade
// swatches, the page buttons, the eraser and the door, the mascot and the
// undo button. It shows what the page session does.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // The name of the mascot's animation in the data folder.
    static const char* const kAnimationFile;

    explicit MainWindow(AppFolders folders, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: runs once before the window is first shown. Throws Failure.
    void startUp();

    // Shows the window over the whole screen.
    void showCovering();

    // Positions in twips, the unit the window is laid out in.
    QRectF twips(const QWidget* control) const { return m_geometry.of(control); }

    const PageSession& session() const { return m_session; }
    const PageState& pageState() const { return m_session.state(); }
    Canvas* canvas() const { return m_canvas; }
    PictureBox* swatch(int index) const { return m_swatches.at(index); }
    PictureBox* colourBar() const { return m_colourBar; }
    PictureButton* eraserButton() const { return m_eraserButton; }
    PictureButton* doorButton() const { return m_doorButton; }
    PictureButton* backButton() const { return m_backButton; }
    PictureButton* forwardButton() const { return m_forwardButton; }
    PictureButton* undoButton() const { return m_undoButton; }
    AnimatedPicture* mascot() const { return m_mascot; }

    // The screen size in twips, as the layout reads it.
    QSizeF screenTwips() const;

    void onCanvasPressed(Qt::MouseButton button, QPoint at);
    void onSwatchPressed(int index, QPoint at);
    void onColourBarPressed(Qt::MouseButton button, QPoint at);
    void onColourBarDoubleClicked();
    void onEraserClicked();
    void onDoorClicked();
    void onBackClicked();
    void onForwardClicked();
    // The undo button for the child; the Undo and Redo keys for grown-ups.
    void onUndoClicked();
    void onRedo();
    // Ctrl+P prints the page on show; Ctrl+S keeps it as a picture.
    void onPrint();
    void onKeep();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintBackground();
    void showSwatches(const std::array<ColorRef, kSwatchCount>& colours);
    void createControls();
    void createBandButtons();
    void makeSwatch(int index);
    void createPalette();
    void createCanvasAndUndo();
    void connectButtons();
    void createKeys();
    void setTabOrders();
    void layOut();
    void placeCanvas(int threshold);
    void showPage();
    void fitCanvasToPicture();
    void placeUndoButton();
    void showUndoState();
    void showStep(const PageSession::Step& step);
    void showTurn(const PageSession::Turn& turn);
    bool pickColour(PictureBox* control, QPoint at);
    void reportBackgroundFailure(const QString& text);

    AppFolders m_folders;
    PageSession m_session;
    BackgroundPainter m_background;
    SoundPlayer* m_sound = nullptr;
    TwipGeometry m_geometry;

    PictureButton* m_forwardButton = nullptr;
    PictureButton* m_backButton = nullptr;
    AnimatedPicture* m_mascot = nullptr;
    PictureButton* m_eraserButton = nullptr;
    std::array<PictureBox*, kSwatchCount> m_swatches{};
    PictureBox* m_colourBar = nullptr;
    PictureButton* m_doorButton = nullptr;
    Canvas* m_canvas = nullptr;
    PictureButton* m_undoButton = nullptr;
    QImage m_undoPicture;
    QImage m_undoGreyPicture;
};
