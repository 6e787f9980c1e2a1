#include "ui/IntroWindow.h"
#include "core/intro/IntroColours.h"
#include "core/intro/IntroRandom.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class IntroWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void labelsAreTransparent();

private:
    QTemporaryDir* m_folder = nullptr;
    IntroWindow* m_window = nullptr;
};

void IntroWindowTest::init()
{
    m_folder = new QTemporaryDir;
    m_window = new IntroWindow(AppFolders(m_folder->path()));
}

void IntroWindowTest::cleanup()
{
    delete m_window;
    delete m_folder;
}

void IntroWindowTest::labelsAreTransparent()
{
    m_window->startUp();
    // Every pixel of the title label that is not part of a letter shows the
    // window's background; the button keeps its light green.
    const QImage shot = m_window->grab().toImage();
    const QRect title = m_window->title()->geometry();
    QCOMPARE(QColor(shot.pixel(title.left() + 1, title.bottom() - 1)), QColor(255, 0, 0));
    QCOMPARE(QColor(shot.pixel(title.right() - 1, title.top() + 1)), QColor(255, 0, 0));
    const QRect button = m_window->continueButton()->geometry();
    QCOMPARE(QColor(shot.pixel(button.left() + 8, button.top() + 8)), QColor(128, 255, 128));
    // The outline is black, three pixels wide.
    const QRect shape = m_window->outline()->geometry();
    QCOMPARE(QColor(shot.pixel(shape.left() + 2, shape.center().y())), QColor(Qt::black));
    QCOMPARE(QColor(shot.pixel(shape.left() + 3, shape.center().y())), QColor(255, 0, 0));
}

QTEST_MAIN(IntroWindowTest)
#include "IntroWindowTest.moc"
