#pragma once

#include <QString>

// What a grown-up decides for the child. The child lock and the sounds are
// kept per user (QSettings: ~/.config/Tintaro/tintaro.conf on Linux); keeping
// the coloured pages from one day to the next belongs to the book, in its
// borra.txt, so that a book carried to another computer keeps its choice.
// An open book takes them at its next start.
class Settings {
public:
    // The user's choices; missing or unreadable ones take the defaults (no
    // lock, sounds on): a broken settings file must never keep the book shut.
    static Settings load();
    // Writes the user's choices. Throws Failure naming the file.
    void save() const;

    bool childLock() const { return m_childLock; }
    bool sounds() const { return m_sounds; }
    void setChildLock(bool on) { m_childLock = on; }
    void setSounds(bool on) { m_sounds = on; }

    // `tintaro --candado`: the lock for this run whatever the user's choice;
    // never saved.
    void lockForThisRun() { m_lockedForThisRun = true; }
    // Whether the door and the window are locked now: the choice or this run's lock.
    bool childLockNow() const;

    // Whether the book keeps its coloured pages at the next start: its
    // borra.txt says "NO". Throws Failure when the file cannot be read.
    static bool keepsColouringOvernight(const QString& book);
    // Writes borra.txt holding "NO", or removes the one that says so, through
    // the durable write. Throws Failure naming the file and the reason.
    static void setKeepsColouringOvernight(const QString& book, bool keep);

private:
    bool m_childLock = false;
    bool m_sounds = true;
    bool m_lockedForThisRun = false;
};
