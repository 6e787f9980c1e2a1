#include "ui/IntroWindow.h"

#include "core/intro/IntroCentring.h"
#include "core/intro/IntroColours.h"
#include "ui/ChildLock.h"
#include "ui/FailureBoundary.h"
#include "ui/MainWindow.h"
#include "ui/ScreenOf.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <memory>

namespace {

// The window is laid out at 15 twips to the pixel, that is 96 dots per inch,
// so its fonts are sized at the same resolution, and zoomed with the window:
// the texts then fit their controls whatever resolution the display reports.
QFont arialBold(int points, const DisplayZoom& zoom)
{
    QFont font;
    // Liberation Sans has Arial's metrics where Arial itself is missing.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(zoom.widgetLength(points * 96.0 / 72.0));
    font.setBold(true);
    return font;
}

QColor qColour(ColorRef colour)
{
    return QColor::fromRgb(toQRgb(colour));
}

} // namespace

IntroWindow::IntroWindow(AppFolders folders, const WindowState& state, QWidget* parent)
    : QWidget(parent), m_folders(std::move(folders)), m_state(state), m_geometry(m_state.zoom)
{
    // A fixed border with the window menu and close button, but no minimise
    // or maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("Tintaro"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/duck.png")));
    setFixedSize(m_state.zoom.widgetPixels(kClientWidth), m_state.zoom.widgetPixels(kClientHeight));
    setAutoFillBackground(true);
    createControls();
}

IntroWindow::~IntroWindow() = default;

QLabel* IntroWindow::makeLabel(const QString& name, const QRectF& rect, const QString& text,
                               int points)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setFont(arialBold(points, m_state.zoom));
    // Transparent: the window's background shows around every letter.
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    setForeColour(label, fromQRgb(QApplication::palette().color(QPalette::ButtonText).rgb()));
    m_geometry.place(label, rect);
    return label;
}

void IntroWindow::createControls()
{
    // Creation order.
    createTimers();
    createContinueButton();
    createAnimation();
    createTexts();
    // Labels and the outline are painted on the window itself, beneath the
    // button and the animation, which therefore stay on top and clickable.
    m_continueButton->raise();
    m_mascot->raise();

    setTabOrder(m_mascot, m_continueButton);
}

void IntroWindow::createTimers()
{
    m_backgroundTimer = new QTimer(this);
    m_backgroundTimer->setInterval(1500);
    connect(m_backgroundTimer, &QTimer::timeout, this,
            FailureBoundary::guard(this, &IntroWindow::onBackgroundTimer));
    m_backgroundTimer->start();

    m_titleTimer = new QTimer(this);
    m_titleTimer->setInterval(300);
    connect(m_titleTimer, &QTimer::timeout, this,
            FailureBoundary::guard(this, &IntroWindow::onTitleTimer));
    m_titleTimer->start();
}

void IntroWindow::createContinueButton()
{
    m_continueButton = new QPushButton(QStringLiteral("CONTINUAR"), this);
    m_continueButton->setObjectName(QStringLiteral("continueButton"));
    m_continueButton->setFont(arialBold(24, m_state.zoom));
    // A style sheet, not the palette: every style then shows the colour.
    m_continueButton->setStyleSheet(
        QStringLiteral("QPushButton { background-color: rgb(128, 255, 128); color: black;"
                       " border: 2px outset rgb(96, 192, 96); }"
                       "QPushButton:pressed { border-style: inset; }"
                       "QPushButton:focus { outline: 1px dotted black; }"));
    m_geometry.place(m_continueButton, QRectF(1080, 5040, 4335, 855));
    connect(m_continueButton, &QPushButton::clicked, this,
            FailureBoundary::guard(this, &IntroWindow::onContinueClicked));
}

void IntroWindow::createAnimation()
{
    m_mascot = new AnimatedPicture(m_folders.data(), m_state.zoom, this);
    m_mascot->setObjectName(QStringLiteral("mascot"));
    m_geometry.place(m_mascot, QRectF(2400, 1200, 2775, 2025));
}

void IntroWindow::createTexts()
{
    m_contact = makeLabel(QStringLiteral("contact"), QRectF(960, 4320, 4815, 615),
                          QStringLiteral("hola@tintaro.example"), 18);
    setForeColour(m_contact, rgbColour(0, 0, 255));

    m_outline = new QFrame(this);
    m_outline->setObjectName(QStringLiteral("outline"));
    m_outline->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_outline->setLineWidth(m_state.zoom.widgetLength(3));
    m_outline->setAttribute(Qt::WA_TransparentForMouseEvents);
    setForeColour(m_outline, rgbColour(0, 0, 0));
    m_geometry.place(m_outline, QRectF(120, 120, 6135, 6015));

    m_date = makeLabel(QStringLiteral("date"), QRectF(960, 3840, 4815, 615),
                       QStringLiteral("Mayo 2002"), 18);
    m_author = makeLabel(QStringLiteral("author"), QRectF(600, 3360, 5175, 855),
                         QStringLiteral("Autor Equipo Tintaro"), 18);
    m_title = makeLabel(QStringLiteral("title"), QRectF(720, 240, 4815, 855),
                        QStringLiteral("Tintaro"), 36);
}

void IntroWindow::startUp()
{
    centreOnScreen();
    m_mascot->setPictureFile(m_folders.data() + QStringLiteral("/ani.gif"));
    setBackColour(IntroColours::colour(IntroColours::kLightRed));
    if (m_state.settings.childLockNow())
        ChildLock::refuseClose(this);
}

void IntroWindow::centreOnScreen()
{
    const QRect area = screenOf(this)->geometry();
    // The outer size including the frame, which is known only once a window
    // manager has framed the window; until then it is the client area, which
    // without a window manager is the whole window.
    const QSize outer = frameGeometry().size();
    const DisplayZoom& zoom = m_state.zoom;
    const std::int64_t left =
        centredPosition(zoom.twipsOf(area.width()), zoom.twipsOf(outer.width()));
    const std::int64_t top =
        centredPosition(zoom.twipsOf(area.height()), zoom.twipsOf(outer.height()));
    move(area.x() + zoom.widgetPixels(static_cast<double>(left)),
         area.y() + zoom.widgetPixels(static_cast<double>(top)));
}

void IntroWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    FailureBoundary::run([this] { centreOnFrame(); });
}

void IntroWindow::centreOnFrame()
{
    // A window manager frames the window some time after it is shown, and
    // framing moves it: centre once more, on the framed size, when the frame
    // has arrived, however long that took.
    if (!m_centredOnFrame && isVisible() && frameGeometry().size() != size()) {
        m_centredOnFrame = true;
        centreOnScreen();
    }
}

void IntroWindow::onTitleTimer()
{
    const int number = IntroColours::draw(m_random);
    setForeColour(m_title, IntroColours::colour(number));
}

void IntroWindow::onBackgroundTimer()
{
    const int number = IntroColours::draw(m_random);
    setBackColour(IntroColours::colour(number));
}

void IntroWindow::onContinueClicked()
{
    // Not parented: the main window has no owner and outlives this one.
    auto window = std::make_unique<MainWindow>(m_folders, m_state);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->startUp();
    // Hidden and discarded rather than closed, which the child lock refuses.
    hide();
    deleteLater();
    window.release()->showCovering();
}

void IntroWindow::setBackColour(ColorRef colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, qColour(colour));
    setPalette(colours);
}

void IntroWindow::setForeColour(QWidget* control, ColorRef colour)
{
    QPalette colours = control->palette();
    colours.setColor(QPalette::WindowText, qColour(colour));
    control->setPalette(colours);
}
