#pragma once

#include "ui/TwipGeometry.h"
#include "ui/WindowState.h"

#include "core/colour/ColorRef.h"
#include "core/folders/AppFolders.h"
#include "core/intro/IntroRandom.h"
#include "ui/AnimatedPicture.h"

#include <QRectF>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

// The intro window: the title, the animation, the author, the date and a
// contact address, flashing colours, and "CONTINUAR" to the main window.
class IntroWindow : public QWidget {
    Q_OBJECT
public:
    // The stored client area, in twips.
    static constexpr double kClientWidth = 6420;
    static constexpr double kClientHeight = 6330;

    explicit IntroWindow(AppFolders folders, const WindowState& state = {},
                         QWidget* parent = nullptr);
    ~IntroWindow() override;

    // Start-up: runs once before the window is first shown.
    void startUp();

    void onTitleTimer();
    void onBackgroundTimer();
    // Opens the main window and closes this one. Throws Failure when the
    // main window's start-up fails; this window then stays.
    void onContinueClicked();

    // Positions in twips, the unit the window is laid out in.
    QRectF twips(const QWidget* control) const { return m_geometry.of(control); }

    QPushButton* continueButton() const { return m_continueButton; }
    AnimatedPicture* mascot() const { return m_mascot; }
    QLabel* title() const { return m_title; }
    QFrame* outline() const { return m_outline; }

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    // Centres once more when the window manager's frame has arrived.
    void centreOnFrame();
    void centreOnScreen();

    void createControls();
    void createTimers();
    void createContinueButton();
    void createAnimation();
    void createTexts();
    QLabel* makeLabel(const QString& name, const QRectF& rect, const QString& text, int points);
    void setBackColour(ColorRef colour);
    void setForeColour(QWidget* control, ColorRef colour);

    AppFolders m_folders;
    WindowState m_state;
    // Both timers draw from this one generator, so the colours each shows
    // depend on the order in which their ticks arrive.
    IntroRandom m_random;
    TwipGeometry m_geometry;
    bool m_centredOnFrame = false;

    QTimer* m_backgroundTimer = nullptr;
    QTimer* m_titleTimer = nullptr;
    QPushButton* m_continueButton = nullptr;
    AnimatedPicture* m_mascot = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_author = nullptr;
    QLabel* m_date = nullptr;
    QLabel* m_contact = nullptr;
    QFrame* m_outline = nullptr;
};
