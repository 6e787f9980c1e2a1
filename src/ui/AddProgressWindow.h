#pragma once

#include <QProgressDialog>
#include <QString>

// Pages added from the file dialog have no terminal to watch: a window shows
// which file and sheet is being added, once it takes more than a moment, and
// lets it be stopped between pages.
class AddProgressWindow {
public:
    explicit AddProgressWindow(int files);

    // Shows sheet `sheet` of `sheets` of file `file`; false once the grown-up
    // pressed "Parar".
    bool carryOn(const QString& name, int file, int sheet, int sheets);
    void finish() { m_window.close(); }

private:
    static constexpr int kStepsPerFile = 1000;
    QProgressDialog m_window;
};
