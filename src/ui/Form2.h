#pragma once

#include "ui/TwipGeometry.h"

#include "colour/ColorRef.h"
#include "folders/AppFolders.h"
#include "intro/IntroRandom.h"
#include "ui/AnimatedPicture.h"

#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <array>

class Form1;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

// The intro window: the title, the animation, the author, the date and a
// contact address, flashing colours, and "CONTINUAR" to the main window.
class Form2 : public QWidget {
    Q_OBJECT
public:
    // The stored client area, in twips.
    static constexpr double kClientWidth = 6420;
    static constexpr double kClientHeight = 6330;

    explicit Form2(AppFolders folders, QWidget* parent = nullptr);
    ~Form2() override;

    // Load procedure: runs once before the window is first shown.
    void Form_Load();

    // Handlers, named after the control and the event.
    void Timer1_Timer();
    void Timer2_Timer();
    // Throws Failure when the main window's start-up fails.
    void Command1_Click();

    // Positions in twips, the unit the window is laid out in.
    QRectF twips(const QWidget* control) const { return m_geometry.of(control); }

    ColorRef backColour() const;
    ColorRef foreColour(int labelIndex) const;

    QTimer* Timer1() const { return m_timer1; }
    QTimer* Timer2() const { return m_timer2; }
    QPushButton* Command1() const { return m_command1; }
    AnimatedPicture* Saltarin1() const { return m_saltarin1; }
    QLabel* Label1(int index) const { return m_label1.at(static_cast<std::size_t>(index)); }
    QFrame* Shape1() const { return m_shape1; }
    Form1* mainWindow() const;

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
    QLabel* makeLabel(int index, const QRectF& rect, const QString& text, int points);
    void setBackColour(ColorRef colour);
    void setForeColour(QWidget* control, ColorRef colour);

    AppFolders m_folders;
    // Both timers draw from this one generator, so the colours each shows
    // depend on the order in which their ticks arrive.
    IntroRandom m_random;
    TwipGeometry m_geometry;
    bool m_centredOnFrame = false;
    QPointer<Form1> m_form1;

    QTimer* m_timer2 = nullptr;
    QTimer* m_timer1 = nullptr;
    QPushButton* m_command1 = nullptr;
    AnimatedPicture* m_saltarin1 = nullptr;
    std::array<QLabel*, 4> m_label1{};
    QFrame* m_shape1 = nullptr;
};
