#include "ui/Form2.h"

#include "geometry/Units.h"
#include "intro/IntroCentring.h"
#include "intro/IntroColours.h"
#include "ui/FailureBoundary.h"
#include "ui/Form1.h"
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
QFont arialBold(int points)
{
    QFont font;
    // Liberation Sans has Arial's metrics where Arial itself is missing.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(static_cast<int>(roundHalfEven(points * 96.0 / 72.0 * widgetZoom())));
    font.setBold(true);
    return font;
}

QColor qColour(ColorRef colour)
{
    return QColor::fromRgb(toQRgb(colour));
}

} // namespace

Form2::Form2(AppFolders folders, QWidget* parent) : QWidget(parent), m_folders(std::move(folders))
{
    // A fixed border with the window menu and close button, but no minimise
    // or maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("Tintaro"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/duck.png")));
    setFixedSize(widgetPixels(kClientWidth), widgetPixels(kClientHeight));
    setAutoFillBackground(true);
    createControls();
}

Form2::~Form2() = default;

QLabel* Form2::makeLabel(int index, const QRectF& rect, const QString& text, int points)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setFont(arialBold(points));
    // Transparent: the window's background shows around every letter.
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    setForeColour(label, fromQRgb(QApplication::palette().color(QPalette::ButtonText).rgb()));
    m_geometry.place(label, rect);
    m_label1[static_cast<std::size_t>(index)] = label;
    return label;
}

void Form2::createControls()
{
    // Creation order.
    createTimers();
    createContinueButton();
    createAnimation();
    createTexts();
    // Labels and the outline are painted on the window itself, beneath the
    // button and the animation, which therefore stay on top and clickable.
    m_command1->raise();
    m_saltarin1->raise();

    setTabOrder(m_saltarin1, m_command1);
}

void Form2::createTimers()
{
    m_timer2 = new QTimer(this);
    m_timer2->setInterval(1500);
    connect(m_timer2, &QTimer::timeout, this, FailureBoundary::guard(this, &Form2::Timer2_Timer));
    m_timer2->start();

    m_timer1 = new QTimer(this);
    m_timer1->setInterval(300);
    connect(m_timer1, &QTimer::timeout, this, FailureBoundary::guard(this, &Form2::Timer1_Timer));
    m_timer1->start();
}

void Form2::createContinueButton()
{
    m_command1 = new QPushButton(QStringLiteral("CONTINUAR"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setFont(arialBold(24));
    // A style sheet, not the palette: every style then shows the colour.
    m_command1->setStyleSheet(
        QStringLiteral("QPushButton { background-color: rgb(128, 255, 128); color: black;"
                       " border: 2px outset rgb(96, 192, 96); }"
                       "QPushButton:pressed { border-style: inset; }"
                       "QPushButton:focus { outline: 1px dotted black; }"));
    m_geometry.place(m_command1, QRectF(1080, 5040, 4335, 855));
    connect(m_command1, &QPushButton::clicked, this,
            FailureBoundary::guard(this, &Form2::Command1_Click));
}

void Form2::createAnimation()
{
    AnimatedPicture::State saltarin;
    saltarin.extentWidth = 4895;
    saltarin.extentHeight = 3572;
    saltarin.backColour = 0x8000000F;
    saltarin.pictureFile = QStringLiteral("escritor.gif");
    m_saltarin1 = new AnimatedPicture(saltarin, m_folders.data(), this);
    m_saltarin1->setObjectName(QStringLiteral("Saltarin1"));
    m_geometry.place(m_saltarin1, QRectF(2400, 1200, 2775, 2025));
}

void Form2::createTexts()
{
    QLabel* address =
        makeLabel(3, QRectF(960, 4320, 4815, 615), QStringLiteral("hola@tintaro.example"), 18);
    setForeColour(address, rgbColour(0, 0, 255));

    m_shape1 = new QFrame(this);
    m_shape1->setObjectName(QStringLiteral("Shape1"));
    m_shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_shape1->setLineWidth(static_cast<int>(roundHalfEven(3 * widgetZoom())));
    m_shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    setForeColour(m_shape1, rgbColour(0, 0, 0));
    m_geometry.place(m_shape1, QRectF(120, 120, 6135, 6015));

    makeLabel(2, QRectF(960, 3840, 4815, 615), QStringLiteral("Mayo 2002"), 18);
    makeLabel(1, QRectF(600, 3360, 5175, 855), QStringLiteral("Autor Equipo Tintaro"), 18);
    makeLabel(0, QRectF(720, 240, 4815, 855), QStringLiteral("Tintaro"), 36);
}

void Form2::Form_Load()
{
    centreOnScreen();
    m_saltarin1->setPictureFile(m_folders.data() + QStringLiteral("/ani.gif"));
    setBackColour(IntroColours::colour(IntroColours::kLightRed));
}

void Form2::centreOnScreen()
{
    const QRect area = screenOf(this)->geometry();
    // The outer size including the frame, which is known only once a window
    // manager has framed the window; until then it is the client area, which
    // without a window manager is the whole window.
    const QSize outer = frameGeometry().size();
    const std::int64_t left =
        centredPosition(widgetPixelsToTwips(area.width()), widgetPixelsToTwips(outer.width()));
    const std::int64_t top =
        centredPosition(widgetPixelsToTwips(area.height()), widgetPixelsToTwips(outer.height()));
    move(area.x() + widgetPixels(static_cast<double>(left)),
         area.y() + widgetPixels(static_cast<double>(top)));
}

void Form2::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    FailureBoundary::run([this] { centreOnFrame(); });
}

void Form2::centreOnFrame()
{
    // A window manager frames the window some time after it is shown, and
    // framing moves it: centre once more, on the framed size, when the frame
    // has arrived, however long that took.
    if (!m_centredOnFrame && isVisible() && frameGeometry().size() != size()) {
        m_centredOnFrame = true;
        centreOnScreen();
    }
}

void Form2::Timer1_Timer()
{
    const int number = IntroColours::draw(m_random);
    setForeColour(m_label1[0], IntroColours::colour(number));
}

void Form2::Timer2_Timer()
{
    const int number = IntroColours::draw(m_random);
    setBackColour(IntroColours::colour(number));
}

void Form2::Command1_Click()
{
    if (!m_form1) {
        // Not parented: the main window has no owner and outlives this one,
        // which its start-up closes and discards as its last step.
        auto form1 = std::make_unique<Form1>(m_folders);
        form1->setAttribute(Qt::WA_DeleteOnClose);
        form1->Form_Load(this);
        m_form1 = form1.release();
    }
    m_form1->showCovering();
}

Form1* Form2::mainWindow() const
{
    return m_form1;
}

ColorRef Form2::backColour() const
{
    return fromQRgb(palette().color(QPalette::Window).rgb());
}

ColorRef Form2::foreColour(int labelIndex) const
{
    return fromQRgb(Label1(labelIndex)->palette().color(QPalette::WindowText).rgb());
}

void Form2::setBackColour(ColorRef colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, qColour(colour));
    setPalette(colours);
}

void Form2::setForeColour(QWidget* control, ColorRef colour)
{
    QPalette colours = control->palette();
    colours.setColor(QPalette::WindowText, qColour(colour));
    control->setPalette(colours);
}
