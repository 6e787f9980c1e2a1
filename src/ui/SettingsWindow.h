#pragma once

#include "ui/WindowState.h"

#include <QString>
#include <QWidget>

#include <functional>

class QCheckBox;
class QVBoxLayout;

// The grown-ups' window, "Ajustes de Tintaro": keep the coloured pages from
// one day to the next, the child lock, and the sounds. Each choice is saved
// the moment it is made; one that cannot be saved is said and undone.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    // Reads the book's borra.txt; shows the user's choices as `state` has
    // them. Throws Failure.
    SettingsWindow(QString book, const WindowState& state, QWidget* parent = nullptr);

    // Opens the window on the book; it is gone when closed.
    static void open(const QString& book, const WindowState& state);

    QCheckBox* overnightChoice() const { return m_overnight; }
    QCheckBox* lockChoice() const { return m_lock; }
    QCheckBox* soundsChoice() const { return m_sounds; }

    void onOvernightToggled(bool on);
    void onLockToggled(bool on);
    void onSoundsToggled(bool on);

private:
    QCheckBox* addChoice(QVBoxLayout* layout, const QString& text, const QString& hint, bool on,
                         void (SettingsWindow::*handler)(bool));
    void addNote(QVBoxLayout* layout, const QString& text);
    void addCloseButton(QVBoxLayout* layout);
    void saveOrUndo(QCheckBox* choice, const std::function<void()>& save);
    void saveUserChoices() const;
    void applyZoom();

    QString m_book;
    DisplayZoom m_zoom;
    QCheckBox* m_overnight = nullptr;
    QCheckBox* m_lock = nullptr;
    QCheckBox* m_sounds = nullptr;
};
