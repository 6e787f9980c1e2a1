#pragma once

#include <QByteArray>
#include <cstdio>

// Keeps what is written to standard error for as long as it lives, instead
// of letting it reach the terminal. Only Linux needs it: there libpng and
// libjpeg write straight to standard error; the Windows build's decoders
// are Qt's own and speak through Qt's log.
class StandardErrorCapture {
public:
    StandardErrorCapture();
    ~StandardErrorCapture();
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    // Puts standard error back and returns what was written meanwhile (its
    // first 4 KB); later calls return nothing.
    QByteArray finish();

private:
    int m_stderr = -1;           // the terminal's standard error, put back after
    std::FILE* m_kept = nullptr; // what was written to standard error meanwhile
};
