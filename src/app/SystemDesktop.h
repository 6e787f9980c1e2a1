#pragma once

// What the program needs to know of the desktop it runs on, told the way
// each system tells it.
class SystemDesktop {
public:
    // Whether a window could be shown: on Linux a display is named; Windows
    // always has its desktop.
    static bool available();
    // Lets a program started from a terminal write its lines there. A Windows
    // program with windows gets no console of its own, so it takes the one
    // of the terminal it was started from, when there is one and its output
    // goes nowhere else.
    static void useStartingTerminal();
};
