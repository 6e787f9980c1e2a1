#pragma once

#include <QString>

// Where the program reads its own files and where it keeps the child's book,
// decided once at start and handed to the windows.
// - Portable: a `dibujos` folder beside the executable makes that folder both.
// - Installed: the read-only files come from the installed data folder, found
//   from the executable's folder so that any prefix works, and the book lives
//   in the user's own data folder, made on the first start from a copy of the
//   installed sample book. Nothing is ever written under the prefix.
// - A book named on the command line is used in either mode.
class AppFolders {
public:
    enum class Mode { Portable, Installed };

    struct Places {
        QString executableFolder;
        QString dataFromExecutable; // the installed data folder, relative to the executable's
        QString userDataFolder;     // where an installed program keeps the user's book
        QString bookOption;         // the book asked for on the command line, or empty
    };

    // Creates the user's book on an installed program's first start. Throws
    // Failure naming the folder when the book asked for cannot be used or the
    // user's book cannot be made.
    static AppFolders resolve(const Places& places);

    // One folder for everything, as a portable program has it.
    explicit AppFolders(QString programFolder);
    AppFolders(Mode mode, QString dataFolder, QString bookFolder);

    Mode mode() const { return m_mode; }
    // The wallpaper, the animations and the sounds: only ever read.
    const QString& data() const { return m_data; }
    // Holds `dibujos` and `borra.txt`; the coloured copies are written here.
    const QString& book() const { return m_book; }

private:
    Mode m_mode = Mode::Portable;
    QString m_data;
    QString m_book;
};
