#include "ui/Form2.h"
#include "app/IntroColours.h"
#include "app/IntroRandom.h"
#include "ui/Form1.h"
#include "ui/Units.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// A program folder with one page and a wallpaper tile. Qt writes no GIF,
// but pictures are read by content, so BMPs stand in under .gif names.
void fillProgramFolder(const QString& folder)
{
    QDir(folder).mkdir(QStringLiteral("dibujos"));
    QImage page(64, 48, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.save(folder + QStringLiteral("/dibujos/1.gif"), "BMP");
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(Qt::yellow);
    tile.save(folder + QStringLiteral("/fondo.gif"), "BMP");
}

QRect pixels(double left, double top, double width, double height)
{
    return {widgetPixels(left), widgetPixels(top), widgetPixels(width), widgetPixels(height)};
}

} // namespace

class Form2Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controlsStandWhereStored();
    void textsAndFonts();
    void labelsAreTransparent();
    void loadCentresSetsAnimationAndLightRed();
    void ticksDrawFromOneSharedSequence();
    void timersRunAtTheirPeriods();
    void fixedBorderWithCloseButtonOnly();
    void continuarLeavesOnlyTheMainWindow();

private:
    QTemporaryDir* m_folder = nullptr;
    Form2* m_form = nullptr;
};

void Form2Test::init()
{
    m_folder = new QTemporaryDir;
    m_form = new Form2(AppFolders(m_folder->path()));
}

void Form2Test::cleanup()
{
    delete m_form;
    delete m_folder;
}

void Form2Test::controlsStandWhereStored()
{
    QCOMPARE(m_form->size(), QSize(428, 422));
    QCOMPARE(m_form->Command1()->geometry(), pixels(1080, 5040, 4335, 855));
    QCOMPARE(m_form->Saltarin1()->geometry(), pixels(2400, 1200, 2775, 2025));
    QCOMPARE(m_form->Saltarin1()->geometry(), QRect(160, 80, 185, 135));
    QCOMPARE(m_form->Label1(3)->geometry(), pixels(960, 4320, 4815, 615));
    QCOMPARE(m_form->Shape1()->geometry(), pixels(120, 120, 6135, 6015));
    QCOMPARE(m_form->Label1(2)->geometry(), pixels(960, 3840, 4815, 615));
    QCOMPARE(m_form->Label1(1)->geometry(), pixels(600, 3360, 5175, 855));
    QCOMPARE(m_form->Label1(0)->geometry(), pixels(720, 240, 4815, 855));
    QCOMPARE(m_form->twips(m_form->Label1(0)), QRectF(720, 240, 4815, 855));
    QCOMPARE(m_form->Shape1()->lineWidth(), 3);
    QCOMPARE(m_form->Timer1()->interval(), 300);
    QCOMPARE(m_form->Timer2()->interval(), 1500);
    QVERIFY(m_form->Timer1()->isActive());
    QVERIFY(m_form->Timer2()->isActive());
}

void Form2Test::textsAndFonts()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Tintaro"));
    QVERIFY(!m_form->windowIcon().isNull());
    QCOMPARE(m_form->Command1()->text(), QStringLiteral("CONTINUAR"));
    QCOMPARE(m_form->Label1(0)->text(), QStringLiteral("Tintaro"));
    QCOMPARE(m_form->Label1(2)->text(), QStringLiteral("Mayo 2002"));
    QVERIFY(m_form->Label1(1)->text().startsWith(QStringLiteral("Autor ")));
    QVERIFY(m_form->Label1(3)->text().contains(QLatin1Char('@')));
    // Sized at 96 dots per inch, the resolution the twips are converted at.
    QCOMPARE(m_form->Label1(0)->font().pixelSize(), 48);
    QCOMPARE(m_form->Label1(1)->font().pixelSize(), 24);
    QCOMPARE(m_form->Command1()->font().pixelSize(), 32);
    QVERIFY(m_form->Command1()->font().bold());
    QVERIFY(m_form->Label1(0)->font().families().contains(QStringLiteral("Arial")));
    QCOMPARE(m_form->foreColour(3), rgbColour(0, 0, 255));
    QCOMPARE(m_form->Saltarin1()->pictureFile(), QStringLiteral("escritor.gif"));
}

void Form2Test::labelsAreTransparent()
{
    m_form->Form_Load();
    for (int index = 0; index < 4; ++index)
        QVERIFY(!m_form->Label1(index)->autoFillBackground());
    QVERIFY(!m_form->Shape1()->autoFillBackground());
    // Every pixel of the title label that is not part of a letter shows the
    // window's background; the button keeps its light green.
    const QImage shot = m_form->grab().toImage();
    const QRect title = m_form->Label1(0)->geometry();
    QCOMPARE(QColor(shot.pixel(title.left() + 1, title.bottom() - 1)), QColor(255, 0, 0));
    QCOMPARE(QColor(shot.pixel(title.right() - 1, title.top() + 1)), QColor(255, 0, 0));
    const QRect button = m_form->Command1()->geometry();
    QCOMPARE(QColor(shot.pixel(button.left() + 8, button.top() + 8)), QColor(128, 255, 128));
    // The outline is black, three pixels wide.
    const QRect shape = m_form->Shape1()->geometry();
    QCOMPARE(QColor(shot.pixel(shape.left() + 2, shape.center().y())), QColor(Qt::black));
    QCOMPARE(QColor(shot.pixel(shape.left() + 3, shape.center().y())), QColor(255, 0, 0));
}

void Form2Test::loadCentresSetsAnimationAndLightRed()
{
    m_form->Form_Load();
    QCOMPARE(m_form->Saltarin1()->pictureFile(), m_folder->path() + QStringLiteral("/ani.gif"));
    QCOMPARE(m_form->backColour(), rgbColour(255, 0, 0));
    const QRect screen = m_form->screen()->geometry();
    const int left =
        widgetPixels(static_cast<double>(floorToInt((screen.width() * 15.0 - 6420) / 2)));
    const int top =
        widgetPixels(static_cast<double>(floorToInt((screen.height() * 15.0 - 6330) / 2)));
    QCOMPARE(m_form->pos(), screen.topLeft() + QPoint(left, top));
}

void Form2Test::ticksDrawFromOneSharedSequence()
{
    m_form->Timer1()->stop();
    m_form->Timer2()->stop();
    m_form->Form_Load();
    const ColorRef addressColour = m_form->foreColour(3);
    IntroRandom expected;
    m_form->Timer1_Timer();
    QCOMPARE(m_form->foreColour(0), IntroColours::colour(IntroColours::draw(expected)));
    m_form->Timer2_Timer();
    QCOMPARE(m_form->backColour(), IntroColours::colour(IntroColours::draw(expected)));
    m_form->Timer1_Timer();
    QCOMPARE(m_form->foreColour(0), IntroColours::colour(IntroColours::draw(expected)));
    // Only the title changes its text colour.
    QCOMPARE(m_form->foreColour(3), addressColour);
}

void Form2Test::timersRunAtTheirPeriods()
{
    m_form->Form_Load();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    const ColorRef before = m_form->foreColour(0);
    IntroRandom expected;
    const ColorRef firstTitle = IntroColours::colour(IntroColours::draw(expected));
    QVERIFY(firstTitle != before);
    QTRY_COMPARE_WITH_TIMEOUT(m_form->foreColour(0), firstTitle, 1000);
    QCOMPARE(m_form->backColour(), rgbColour(255, 0, 0));
    QTRY_VERIFY_WITH_TIMEOUT(m_form->backColour() != rgbColour(255, 0, 0), 3000);
}

void Form2Test::fixedBorderWithCloseButtonOnly()
{
    const Qt::WindowFlags flags = m_form->windowFlags();
    QVERIFY(m_form->isWindow());
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
}

void Form2Test::continuarLeavesOnlyTheMainWindow()
{
    fillProgramFolder(m_folder->path());
    m_form->Form_Load();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QPointer<Form2> intro = m_form;
    QTest::mouseClick(m_form->Command1(), Qt::LeftButton);
    QPointer<Form1> main = m_form ? m_form->mainWindow() : nullptr;
    QVERIFY(main);
    QTRY_VERIFY(intro.isNull());
    m_form = nullptr;
    QVERIFY(main->isVisible());
    const QWidgetList windows = QApplication::topLevelWidgets();
    int visible = 0;
    for (QWidget* window : windows)
        visible += window->isVisible() ? 1 : 0;
    QCOMPARE(visible, 1);
    delete main;
}

QTEST_MAIN(Form2Test)
#include "Form2Test.moc"
