#pragma once

#include "core/colour/ColorRef.h"
#include "core/colour/Palette.h"
#include "core/geometry/CanvasPlacement.h"
#include "core/geometry/DisplayZoom.h"
#include "ui/TwipGeometry.h"

#include <QImage>
#include <QRectF>
#include <QString>

#include <array>

class AnimatedPicture;
class Canvas;
class PageSession;
class PictureBox;
class PictureButton;
class QWidget;

// The main window's controls, made in their stored order, and where they
// stand: laid out for the screen, the canvas sized to its page and placed
// with the mascot beside it, the undo and pages' view buttons kept clear of
// the page.
class MainWindowControls {
public:
    // The name of the mascot's animation in the data folder.
    static const char* const kAnimationFile;

    MainWindowControls(QWidget* window, const PageSession& session, const QString& dataFolder,
                       const DisplayZoom& zoom);

    Canvas* canvas() const { return m_canvas; }
    PictureBox* swatch(int index) const { return m_swatches.at(index); }
    PictureBox* colourBar() const { return m_colourBar; }
    PictureButton* eraserButton() const { return m_eraserButton; }
    PictureButton* doorButton() const { return m_doorButton; }
    PictureButton* backButton() const { return m_backButton; }
    PictureButton* forwardButton() const { return m_forwardButton; }
    PictureButton* undoButton() const { return m_undoButton; }
    PictureButton* galleryButton() const { return m_galleryButton; }
    AnimatedPicture* mascot() const { return m_mascot; }

    // Positions in twips, the unit the window is laid out in.
    QRectF twips(const QWidget* control) const { return m_geometry.of(control); }
    // The screen size in twips, as the layout reads it.
    QSizeF screenTwips() const;

    // Every control in its place for the screen.
    void layOut();
    // The canvas takes its page's size, keeping its top-left corner.
    void fitCanvasToPicture();
    // The canvas placed for its page after a turn, the mascot beside it.
    void placeCanvas(CanvasPlacement::Pin pin);
    void showSwatches(const std::array<ColorRef, kSwatchCount>& colours);
    void showUndoState(bool canUndo);

private:
    void createBandButtons(const QString& dataFolder);
    PictureButton* makeButton(const char* picture, const char* name);
    PictureBox* makeSwatch(int index);
    void createPalette();
    void createCanvasAndUndo(const PageSession& session);
    void setTabOrders();
    void placeUndoButton();

    QWidget* m_window;
    DisplayZoom m_zoom;
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
    PictureButton* m_galleryButton = nullptr;
    QImage m_undoPicture;
    QImage m_undoGreyPicture;
};
