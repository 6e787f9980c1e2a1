#include "ui/SettingsWindow.h"

#include "core/book/Failure.h"
#include "core/settings/Settings.h"
#include "ui/FailureBoundary.h"

#include <QCheckBox>
#include <QDir>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

SettingsWindow::SettingsWindow(QString book, const WindowState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), m_book(std::move(book)), m_zoom(state.zoom)
{
    const Settings& settings = state.settings;
    setWindowTitle(QStringLiteral("Ajustes de Tintaro"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/monster.png")));
    auto* layout = new QVBoxLayout(this);
    m_overnight =
        addChoice(layout, QStringLiteral("Guardar los dibujos coloreados de un día para otro"),
                  QStringLiteral("Se guarda en el propio libro, y lo sigue a otro ordenador."),
                  Settings::keepsColouringOvernight(m_book), &SettingsWindow::onOvernightToggled);
    m_lock = addChoice(layout, QStringLiteral("Candado para niños"),
                       QStringLiteral("La puerta solo cierra Tintaro si se mantiene pulsada dos "
                                      "segundos, la ventana no se cierra con Alt+F4, y "
                                      "Ctrl+P, Ctrl+S y Ctrl+O no hacen nada."),
                       settings.childLock(), &SettingsWindow::onLockToggled);
    m_sounds = addChoice(layout, QStringLiteral("Sonidos al pasar página"), QString(),
                         settings.sounds(), &SettingsWindow::onSoundsToggled);
    addNote(layout, QStringLiteral("Los cambios se guardan al momento; un Tintaro abierto los "
                                   "toma la próxima vez que se abra.\nLibro: %1")
                        .arg(QDir::toNativeSeparators(m_book)));
    addCloseButton(layout);
    applyZoom();
}

void SettingsWindow::open(const QString& book, const WindowState& state)
{
    auto* window = new SettingsWindow(book, state);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

QCheckBox* SettingsWindow::addChoice(QVBoxLayout* layout, const QString& text, const QString& hint,
                                     bool on, void (SettingsWindow::*handler)(bool))
{
    auto* choice = new QCheckBox(text, this);
    choice->setChecked(on);
    connect(choice, &QCheckBox::toggled, this, FailureBoundary::guard(this, handler));
    layout->addWidget(choice);
    if (!hint.isEmpty())
        addNote(layout, hint);
    return choice;
}

void SettingsWindow::addNote(QVBoxLayout* layout, const QString& text)
{
    auto* note = new QLabel(text, this);
    note->setWordWrap(true);
    note->setObjectName(QStringLiteral("note"));
    layout->addWidget(note);
}

void SettingsWindow::addCloseButton(QVBoxLayout* layout)
{
    auto* close = new QPushButton(QStringLiteral("Cerrar"), this);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(close, 0, Qt::AlignRight);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

// Large enough for a finger on a touch screen, and growing with the screen
// as the book does.
void SettingsWindow::applyZoom()
{
    const auto zoomed = [this](double pixels) { return m_zoom.widgetLength(pixels); };
    setStyleSheet(QStringLiteral("* { font-size: %1px; }"
                                 "QCheckBox { min-height: %2px; spacing: %3px; }"
                                 "QCheckBox::indicator { width: %4px; height: %4px; }"
                                 "QLabel#note { font-size: %5px; margin-left: %2px; }"
                                 "QPushButton { min-height: %2px; padding: 0 %3px; }")
                      .arg(zoomed(20))
                      .arg(zoomed(48))
                      .arg(zoomed(12))
                      .arg(zoomed(30))
                      .arg(zoomed(16)));
    layout()->setContentsMargins(zoomed(24), zoomed(24), zoomed(24), zoomed(24));
    layout()->setSpacing(zoomed(8));
    setMinimumWidth(zoomed(560));
    // Its own size, for Qt caps a window with wrapped text at two thirds of
    // the screen, which cuts it short at a large --zoom.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void SettingsWindow::saveOrUndo(QCheckBox* choice, const std::function<void()>& save)
{
    try {
        save();
    } catch (const Failure& failure) {
        const QSignalBlocker quiet(choice);
        choice->setChecked(!choice->isChecked());
        FailureBoundary::warn(this, failure.message());
    }
}

void SettingsWindow::onOvernightToggled(bool on)
{
    saveOrUndo(m_overnight, [this, on] { Settings::setKeepsColouringOvernight(m_book, on); });
}

void SettingsWindow::saveUserChoices() const
{
    // Read off the boxes, so that a choice that could not be saved, and was
    // put back, is never saved later with another.
    Settings settings;
    settings.setChildLock(m_lock->isChecked());
    settings.setSounds(m_sounds->isChecked());
    settings.save();
}

void SettingsWindow::onLockToggled(bool)
{
    saveOrUndo(m_lock, [this] { saveUserChoices(); });
}

void SettingsWindow::onSoundsToggled(bool)
{
    saveOrUndo(m_sounds, [this] { saveUserChoices(); });
}
