#pragma once

#include "core/folders/AppFolders.h"
#include "core/session/PageSession.h"
#include "ui/BackgroundPainter.h"
#include "ui/MainWindowControls.h"
#include "ui/WindowState.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>

class GalleryView;
class SoundPlayer;

// The main colouring window: the canvas, the colour bar over the shade
// swatches, the page buttons, the eraser and the door, the mascot and the
// undo button, and the pages' view over them all. It shows what the page session does, and saves
// the page on show whatever way the program ends.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(AppFolders folders, const WindowState& state = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: runs once before the window is first shown. Throws Failure.
    void startUp();

    // Shows the window over the whole screen.
    void showCovering();

    const PageSession& session() const { return m_session; }
    const PageState& pageState() const { return m_session.state(); }
    const MainWindowControls& controls() const { return m_controls; }
    Canvas* canvas() const { return m_controls.canvas(); }
    PictureBox* swatch(int index) const { return m_controls.swatch(index); }
    PictureBox* colourBar() const { return m_controls.colourBar(); }
    PictureButton* eraserButton() const { return m_controls.eraserButton(); }
    PictureButton* doorButton() const { return m_controls.doorButton(); }
    PictureButton* backButton() const { return m_controls.backButton(); }
    PictureButton* forwardButton() const { return m_controls.forwardButton(); }
    PictureButton* undoButton() const { return m_controls.undoButton(); }
    PictureButton* galleryButton() const { return m_controls.galleryButton(); }
    GalleryView* gallery() const { return m_gallery; }
    AnimatedPicture* mascot() const { return m_controls.mascot(); }

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
    // Ctrl+P prints the page on show; Ctrl+S exports it as a picture.
    void onPrint();
    void onExport();
    // The pages' view: its button for the child, Ctrl+O for grown-ups; a page
    // chosen there opens as a forward turn does, and so does Home, page 1.
    void onGalleryClicked();
    void onPageChosen(int page);
    void onHomeKey();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectControls();
    void connectKeys(bool locked);
    void warnIfFailed(const std::optional<QString>& failure);
    void showReached(PageSession::Direction direction);
    void connectEnds();
    void paintBackground();
    void showPage();
    void showStep(const PageSession::Step& step);
    void showTurn(const PageSession::Turn& turn);
    void pageChanged();
    // Writes the page on show to its copy when it has unkept changes; a
    // failure is reported in a box when `warn`, else on stderr only.
    void savePage(bool warn);
    bool pickColour(PictureBox* control, QPoint at);
    void reportBackgroundFailure(const QString& text);

    AppFolders m_folders;
    WindowState m_state;
    PageSession m_session;
    MainWindowControls m_controls;
    BackgroundPainter m_background;
    SoundPlayer* m_sound = nullptr;
    GalleryView* m_gallery = nullptr;
    QTimer m_saveTimer;
};
