#pragma once

#include "ui/TwipGeometry.h"

#include "book/PageBook.h"
#include "colour/ColorRef.h"
#include "colour/Palette.h"
#include "folders/AppFolders.h"
#include "geometry/Layout.h"
#include "ui/AnimatedPicture.h"
#include "ui/BackgroundPainter.h"

#include <QRectF>
#include <QWidget>
#include <array>
#include <functional>

class Canvas;
class PictureBox;
class PictureButton;
class SoundPlayer;

// The main colouring window: the canvas, the colour bar over the shade
// swatches, the page buttons, restore and exit, and the animated picture.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // The name of the main window's animation in the data folder.
    static const char* const kAnimationFile;

    explicit Form1(AppFolders folders, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: runs once before the window is first shown; closes and
    // discards `intro` as its last step. Throws Failure.
    void Form_Load(QWidget* intro = nullptr);

    // Shows the window over the whole screen.
    void showCovering();

    // Positions in twips, the unit the window is laid out in.
    QRectF twips(const QWidget* control) const { return m_geometry.of(control); }

    const PageState& pageState() const { return m_book.state(); }
    Canvas* Picture1() const { return m_picture1; }
    PictureBox* Picture2(int index) const { return m_picture2.at(index); }
    PictureBox* Picture3() const { return m_picture3; }
    PictureButton* Command1() const { return m_command1; }
    PictureButton* Command2() const { return m_command2; }
    PictureButton* Command3() const { return m_command3; }
    PictureButton* Command4() const { return m_command4; }
    AnimatedPicture* Saltarin1() const { return m_saltarin1; }
    PictureButton* Command5() const { return m_command5; }

    // The screen size in twips, as the layout reads it.
    QSizeF screenTwips() const;

    // Handlers, named after the control and the event.
    void Picture1_MouseDown(int button, int shift, float x, float y);
    void Picture2_MouseDown(int index, int button, int shift, float x, float y);
    void Picture3_MouseDown(int button, int shift, float x, float y);
    void Picture3_DblClick();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    // Undo for the child; the Undo and Redo keys for grown-ups.
    void Command5_Click();
    void Form_Redo();
    // Ctrl+P prints the page on show; Ctrl+S keeps it as a picture.
    void Form_Print();
    void Form_Keep();

    // Fields the palette handlers write before they read them.
    qint32 PickedColour = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintBackground();
    Layout::Sizes controlSizes() const;
    void placeControls(const Layout& layout);
    void showSwatches(const std::array<ColorRef, kSwatchCount>& colours);
    void createControls();
    void createBandButtons();
    void makeSwatch(int index, double left);
    void createPalette();
    void createCanvasAndUndo();
    void connectButtons();
    void createKeys();
    void setTabOrders();
    void Form_Layout();
    void placeCanvas(int threshold);
    void showPicture(const QImage& picture);
    void fitCanvasToPicture();
    void placeCommand5();
    void showUndoState();
    void afterHistoryStep();
    void pageTurn(PageBook::Direction direction);
    // Runs a save; a copy that cannot be written is reported and the page
    // stays on screen as it is. False when it failed.
    bool trySaving(const std::function<void()>& save);
    bool pickColour(PictureBox* control, float x, float y);
    void reportBackgroundFailure(const QString& text);

    AppFolders m_folders;
    PageBook m_book;
    BackgroundPainter m_background;
    SoundPlayer* m_sound = nullptr;
    TwipGeometry m_geometry;

    PictureButton* m_command4 = nullptr;
    PictureButton* m_command3 = nullptr;
    AnimatedPicture* m_saltarin1 = nullptr;
    PictureButton* m_command1 = nullptr;
    std::array<PictureBox*, kSwatchCount> m_picture2{};
    PictureBox* m_picture3 = nullptr;
    PictureButton* m_command2 = nullptr;
    Canvas* m_picture1 = nullptr;
    PictureButton* m_command5 = nullptr;
    QImage m_undoPicture;
    QImage m_undoGreyPicture;
};
